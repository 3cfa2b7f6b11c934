// Fuzzes the path mapping: any bytes, taken as a name, a mount table or a folder, map without a
// crash; a name's bytes come back exactly from the text they decode to; a drive path maps under
// that drive's root, and a mapped folder unmaps to a path that maps back to it.
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/files/HostPath.h"
#include "platform/files/PathMap.h"

namespace {

void Check(bool ok, const char* what, std::string_view input) {
    if (ok) return;
    std::fprintf(stderr, "%s for input [%.*s]\n", what, static_cast<int>(input.size()), input.data());
    std::abort();
}

bool Under(const std::string& path, const std::string& root) {
    return root == "/" ? !path.empty() && path[0] == '/'
                       : path.rfind(root, 0) == 0 && (path.size() == root.size() || path[root.size()] == '/');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    // A name's bytes survive the text the program holds it as.
    const QString text = platform::BytesText(input);
    Check(platform::TextBytes(text) == input, "bytes did not survive their text", input);
    Check(platform::NameBytes(text).has_value() == (input.find('\0') == std::string::npos), "NUL not refused",
          input);

    // A mount table of any text gives only removable mount points, sorted.
    const auto mounts = platform::RemovableMounts(input);
    for (size_t i = 0; i < mounts.size(); ++i) {
        Check(mounts[i].rfind("/media/", 0) == 0 || mounts[i].rfind("/run/media/", 0) == 0,
              "not a removable mount", input);
        Check(i == 0 || mounts[i - 1] <= mounts[i], "mounts out of order", input);
    }

    // Any name on a drive maps below that drive's root, and back to a name of the same place.
    const platform::MappingScope oneView;
    for (const platform::Drive& drive : platform::ListDrives()) {
        const std::string name = std::string(1, drive.letter) + ":\\" + input;
        if (input.find('\0') != std::string::npos) continue;
        const std::string host = platform::MapPath(name);
        Check(!host.empty() && Under(host, drive.root), "a drive path left its drive", input);
        Check(host.find("//") == std::string::npos, "doubled separator", input);
        const std::string windows = platform::UnmapPath(host);
        Check(platform::MapPath(windows) == host, "unmapped path maps elsewhere", input);
    }
    platform::MapPath(input);
    platform::MapPathFrom(input, "/home");
    platform::UnmapPath(input);
    return 0;
}
