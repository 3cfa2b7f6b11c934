// Fuzzes the settings file reader: any bytes read as a settings file end in five values or in a
// host error, never in a crash; and any three typed values (no line breaks, as a text field holds)
// written as the settings are written read back unchanged.
#include <unistd.h>

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/HostError.h"
#include "host/TextFile.h"

namespace {

constexpr int kFile = 1;

const QString& ScratchPath() {
    static const QString path =
        QStringLiteral("/dev/shm/tallowin-fuzz-%1.INI").arg(static_cast<long long>(::getpid()));
    return path;
}

void WriteBytes(const uint8_t* data, size_t size) {
    FILE* f = std::fopen(ScratchPath().toLocal8Bit().constData(), "wb");
    if (!f) std::abort();
    if (size && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}

// Reads the five values as the settings are read; false when the reader raised an error.
bool ReadSettings(int16_t* left, int16_t* top, QString strings[3]) {
    try {
        host::TextFile::OpenForInput(kFile, ScratchPath());
        *left = host::TextFile::InputInteger(kFile);
        *top = host::TextFile::InputInteger(kFile);
        for (int i = 0; i < 3; ++i) strings[i] = host::TextFile::InputString(kFile);
        host::TextFile::Close(kFile);
        return true;
    } catch (const host::HostError&) {
        host::TextFile::Close(kFile);
        return false;
    }
}

// Three field values cut from the input at its NUL bytes, with the line breaks a text field cannot
// hold taken out, and two positions from its first bytes.
void RoundTrip(const uint8_t* data, size_t size) {
    const int16_t left = size >= 2 ? int16_t(data[0] | data[1] << 8) : 0;
    const int16_t top = size >= 4 ? int16_t(data[2] | data[3] << 8) : 0;
    QString values[3];
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    size_t start = size >= 4 ? 4 : size;
    for (int i = 0; i < 3; ++i) {
        size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        values[i] = QString::fromUtf8(bytes.substr(start, end - start));
        values[i].remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        start = end < bytes.size() ? end + 1 : end;
    }

    host::TextFile::OpenForOutput(kFile, ScratchPath());
    host::TextFile::WriteInteger(kFile, left);
    host::TextFile::WriteInteger(kFile, top);
    for (const QString& value : values) host::TextFile::WriteString(kFile, value);
    host::TextFile::Close(kFile);

    int16_t readLeft = 0, readTop = 0;
    QString read[3];
    if (!ReadSettings(&readLeft, &readTop, read)) std::abort();
    if (readLeft != left || readTop != top) std::abort();
    for (int i = 0; i < 3; ++i)
        if (read[i] != values[i]) {
            std::fprintf(stderr, "value %d written as [%s] read back as [%s]\n", i, qPrintable(values[i]),
                         qPrintable(read[i]));
            std::abort();
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteBytes(data, size);
    int16_t left = 0, top = 0;
    QString strings[3];
    ReadSettings(&left, &top, strings);
    RoundTrip(data, size);
    return 0;
}
