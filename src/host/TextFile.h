#pragma once
// Numbered text files: opened by number for input or output, written and read as records, closed
// by number. A record is one value and a CR LF; numbers are plain decimal text, strings stand
// between double quotes as they are, with no escaping. Text is UTF-8.
//
// Reading: blanks before a value are skipped; a value ends at a comma or a line end; a value that
// starts with a double quote runs to the last double quote of its line (to the next one in the file
// when the line has no other), and the rest up to just past the next comma or line end is skipped. A file
// that ends before a value was read raises "Input past end of file".
//
// Output is written to a temporary file beside the target and takes its place at Close, so a
// failure on the way leaves the earlier file as it was. Two exceptions: a file the user may write in
// a folder that refuses new files is rewritten in place, and a symbolic link is written through to
// the file it points to.

#include <QString>
#include <cstdint>

namespace host {

class TextFile {
public:
    // Open path (a Windows-style or host path) for input as file number. Raises "File not found",
    // "Path not found", "Permission denied" or "File already open"; "Bad file name or number" for
    // anything but a regular file (a FIFO, a device), and "Path/File access error" for a file of
    // more than 64 KB. Never waits for a writer.
    static void OpenForInput(int number, const QString& path);
    // Open path for output as file number: the file will be created or replaced at Close.
    static void OpenForOutput(int number, const QString& path);

    static void WriteInteger(int number, int32_t value);
    static void WriteString(int number, const QString& value);

    // The next value as a 16-bit integer: "Type mismatch" for text that is no plain decimal
    // integer, "Overflow" out of range.
    static int16_t InputInteger(int number);
    static QString InputString(int number);

    // Closes the file; output takes its place now. Closing a number that is not open does nothing.
    static void Close(int number);
};

}  // namespace host
