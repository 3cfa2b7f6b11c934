#pragma once
// What the picture writers do around the file they replace: before writing, look up the earlier file
// of that name and refuse a read-only one; after writing, hand its times and attributes on to the
// new file. And the detail a writer's failure names.

#include <QString>
#include <string>

#include "platform/files/FileServices.h"

class EarlierFile {
public:
    // Looks up the file named by nameBytes (as NameBytes gives them). A read-only file is not
    // replaced, as a delete would refuse it: raises "Path/File access error".
    explicit EarlierFile(std::string nameBytes);

    // Hands the earlier file's last-access and last-write times and its attributes on to the file
    // now of that name; nothing when there was none.
    void HandOn() const;

private:
    std::string nameBytes_;
    bool existed_ = false;
    platform::WIN32_FIND_DATA find_{};
};

// What a failed save names beside its description: for a write that failed (bWriteFailed), the file
// and the system's reason; for a name that maps to no place, the name as given; else the file.
QString SaveErrorDetail(const QString& sFile, bool bWriteFailed);
