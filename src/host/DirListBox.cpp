#include "host/DirListBox.h"

#include <QFile>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "host/Events.h"
#include "host/FolderListing.h"
#include "host/HostError.h"
#include "host/ListFrame.h"
#include "platform/files/HostPath.h"
#include "platform/files/PathMap.h"

namespace fs = std::filesystem;

namespace host {
namespace {

constexpr int kHostPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;
constexpr int kIndentPixels = 8;

// Draws each entry indented by its depth below the drive's root; the text itself stays the bare
// name, so typing a name's first letters finds it.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(index.data(kDepthRole).toInt() * kIndentPixels, 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) +
               QSize(index.data(kDepthRole).toInt() * kIndentPixels, 0);
    }
};

// A list widget that opens an entry on Enter as well as on double click.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent) : QListWidget(parent) {
        connect(this, &QListWidget::itemDoubleClicked, this,
                [this](QListWidgetItem* item) { emit opened(row(item)); });
    }

signals:
    void opened(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
            emit opened(currentRow());
            return;
        }
        QListWidget::keyPressEvent(event);
    }
};

bool IsFolder(const std::string& hostPath) {
    std::error_code ec;
    return !hostPath.empty() && fs::is_directory(hostPath, ec);
}

std::string DriveRootOf(const std::string& hostFolder) {
    // The drive a folder lies on is the one UnmapPath names; its root maps back from "X:".
    const std::string windows = platform::UnmapPath(hostFolder);
    return platform::MapPath(windows.substr(0, 2));
}

// A drive whose root cannot be read (a card reader without a card, a volume whose medium is gone)
// raises "Device unavailable", naming it and the system's reason; other folders pass.
void RefuseUnreadableDrive(const std::string& hostFolder) {
    if (!IsFolder(hostFolder) || DriveRootOf(hostFolder) != hostFolder) return;
    if (const std::error_code problem = ListingProblem(hostFolder))
        RaiseErrorWithDetail(kDeviceUnavailable, FileErrorDetail(hostFolder, problem.value()));
}

}  // namespace

DirListBox::DirListBox(QWidget* form, const char* name, float left, float top, float width, float height,
                       int tabIndex)
    : Control(new FolderList(form), name, left, top, width, height, tabIndex),
      list_(static_cast<QListWidget*>(Widget())) {
    Connect(static_cast<FolderList*>(list_), &FolderList::opened,
            [this](int row) { RunEvent([this, row] { Open(row); }, list_); });
    list_->setItemDelegate(new IndentDelegate(list_));
    KeepFrameWhole(*list_);
    // The list starts in the current directory, or in the root of C: when that cannot be read.
    std::string start = platform::MapPath(platform::CurrentDirectory());
    if (!Show(start)) Show(platform::MapPath("C:"));
}

QString DirListBox::Path() const { return platform::BytesText(platform::UnmapPath(folder_)); }

void DirListBox::SetPath(const QString& path) {
    const std::string target = path.isEmpty() ? folder_ : platform::HostPathFrom(path, folder_);
    RefuseUnreadableDrive(target);
    if (!Show(target)) RaiseError(kPathNotFound);
    if (onChange_) onChange_();
}

QStringList DirListBox::Entries() const { return ListEntries(*list_); }

void DirListBox::Open(int row) {
    QListWidgetItem* item = list_->item(row);
    if (!item) return;
    const std::string target = item->data(kHostPathRole).toByteArray().toStdString();
    const std::string before = folder_;
    if (!Show(target)) {
        // The folder went away since the list was read: show what is there now, and say so.
        Show(before);
        RaiseError(kPathNotFound);
    }
    if (onChange_) onChange_();
}

bool DirListBox::Show(const std::string& hostFolder) {
    if (!IsFolder(hostFolder)) return false;
    folder_ = hostFolder;

    // The ancestors: the drive's root, then each folder down to the current one.
    const std::string root = DriveRootOf(folder_);
    std::vector<std::pair<QString, std::string>> chain;
    chain.emplace_back(platform::BytesText(platform::UnmapPath(root)), root);
    std::string walked = root;
    const std::string rest =
        folder_.size() > root.size() ? folder_.substr(root == "/" ? 1 : root.size() + 1) : "";
    for (const auto& part : fs::path(rest)) {
        if (walked.back() != '/') walked += '/';
        walked += part.string();
        chain.emplace_back(platform::BytesText(part.string()), walked);
    }

    std::vector<std::string> subfolders;
    try {
        subfolders = ReadFolder(folder_).folders;
    } catch (const HostError&) {
        // A folder that cannot be read is shown without subfolders.
    }

    const QIcon open = list_->style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = list_->style()->standardIcon(QStyle::SP_DirClosedIcon);
    list_->clear();
    int depth = 0;
    for (const auto& [text, host] : chain) {
        auto* item = new QListWidgetItem(open, text, list_);
        item->setData(kHostPathRole, QByteArray::fromStdString(host));
        item->setData(kDepthRole, depth++);
    }
    const int current = list_->count() - 1;
    const std::string prefix = folder_ == "/" ? "/" : folder_ + "/";
    for (const std::string& name : subfolders) {
        auto* item = new QListWidgetItem(closed, platform::BytesText(name), list_);
        item->setData(kHostPathRole, QByteArray::fromStdString(prefix + name));
        item->setData(kDepthRole, depth);
    }
    list_->setCurrentRow(current);
    return true;
}

}  // namespace host

#include "DirListBox.moc"
