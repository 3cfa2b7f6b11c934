#pragma once
// The toolkit's own clipboard as a clipboard backend, where there is no X server (the offscreen
// platform the widget tests run on). That clipboard lives in this process and no other program can
// hold it, so this backend works on the interface thread and tells of changes as they happen.

#include <QObject>
#include <memory>

#include "platform/clipboard/ClipboardBackend.h"

namespace platform {

class QtClipboard final : public ClipboardBackend {
public:
    QtClipboard();
    ~QtClipboard() override;

    void Start(Listener listener) override;
    FetchResult Fetch(ClipboardMark mark, const std::string& type, PixelBytes& bytes) override;
    // Only on the interface thread, as every use of the toolkit's clipboard.
    void Clear(ClipboardMark mark) override;
    void ClearAll() override;

private:
    void Announce();

    std::unique_ptr<QObject> context_;  // ends the connection to the clipboard with the backend
    Listener listener_;
    std::uint64_t changes_ = 0;
    ClipboardMark current_;
};

}  // namespace platform
