#include "host/DriveListBox.h"

#include <QAccessible>
#include <algorithm>
#include <cctype>
#include <system_error>

#include "host/ComboBoxAccessible.h"
#include "host/Events.h"
#include "host/FolderListing.h"
#include "host/HostError.h"
#include "platform/files/HostPath.h"

namespace host {
namespace {

// A combo box that looks at the drives again whenever it drops down, so a volume mounted while the
// window is open can be chosen.
class DriveCombo : public QComboBox {
    Q_OBJECT
public:
    explicit DriveCombo(QWidget* parent);

signals:
    // Just before the list drops down, so that it can be filled afresh.
    void aboutToShowPopup();

protected:
    void showPopup() override {
        emit aboutToShowPopup();
        QComboBox::showPopup();
    }
};

// Screen readers call the list by its own name, with the drive it shows as its value.
QAccessibleInterface* DriveAccessibleFor(const QString&, QObject* object) {
    auto* combo = qobject_cast<DriveCombo*>(object);
    return combo ? new ComboBoxAccessible(combo) : nullptr;
}

DriveCombo::DriveCombo(QWidget* parent) : QComboBox(parent) {
    static const bool named = (QAccessible::installFactory(&DriveAccessibleFor), true);
    (void)named;
}

char LetterOf(const QString& text) {
    if (text.isEmpty() || text[0].unicode() > 127) return 0;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[0].toLatin1())));
}

QString ItemText(const platform::Drive& d) {
    return QStringLiteral("%1: [%2]").arg(QChar::fromLatin1(d.letter), platform::BytesText(d.label));
}

}  // namespace

DriveListBox::DriveListBox(QWidget* form, const char* name, float left, float top, float width, float height,
                           int tabIndex)
    : Control(new DriveCombo(form), name, left, top, width, height, tabIndex),
      combo_(static_cast<QComboBox*>(Widget())) {
    // The list starts on the drive of the current directory, as the file services see it.
    const std::string cwd = platform::CurrentDirectory();
    current_ = cwd.empty() ? 'C' : cwd[0];
    Refresh();
    Connect(combo_, &QComboBox::activated, [this](int index) { UserPicked(index); });
    Connect(static_cast<DriveCombo*>(combo_), &DriveCombo::aboutToShowPopup, [this] { Refresh(); });
}

QString DriveListBox::Drive() const { return QStringLiteral("%1:").arg(QChar::fromLatin1(current_)); }

void DriveListBox::Refresh() {
    drives_ = platform::ListDrives();
    const QSignalBlocker quiet(combo_);
    combo_->clear();
    int shown = -1;
    for (const platform::Drive& d : drives_) {
        if (d.letter == current_) shown = combo_->count();
        combo_->addItem(ItemText(d), QChar::fromLatin1(d.letter));
    }
    if (shown < 0) {
        // The chosen drive has gone (a volume was unmounted): it stays chosen until another is.
        shown = 0;
        while (shown < combo_->count() && combo_->itemData(shown).toChar().toLatin1() < current_) ++shown;
        combo_->insertItem(shown, QStringLiteral("%1:").arg(QChar::fromLatin1(current_)),
                           QChar::fromLatin1(current_));
    }
    combo_->setCurrentIndex(shown);
}

void DriveListBox::SetDrive(const QString& drive) {
    const char letter = LetterOf(drive);
    drives_ = platform::ListDrives();
    const platform::Drive* found = nullptr;
    for (const platform::Drive& d : drives_)
        if (d.letter == letter) found = &d;
    if (!found || ListingProblem(found->root)) RaiseError(kDeviceUnavailable);
    if (letter == current_) return;
    Choose(letter);
    if (onChange_) onChange_();
}

void DriveListBox::Choose(char letter) {
    current_ = letter;
    Refresh();
}

void DriveListBox::UserPicked(int index) {
    const char letter = combo_->itemData(index).toChar().toLatin1();
    if (letter == 0 || letter == current_) return;
    // A drive that cannot be read is chosen all the same (whoever follows the list finds out and
    // stays where it was), and the host says it is unavailable.
    Choose(letter);
    if (onChange_) RunEvent(onChange_, Widget());
    const auto picked =
        std::find_if(drives_.begin(), drives_.end(), [&](const auto& d) { return d.letter == letter; });
    const std::error_code problem =
        picked == drives_.end() ? std::error_code() : ListingProblem(picked->root);
    if (!problem) return;
    RunEvent([root = picked->root,
              problem] { RaiseErrorWithDetail(kDeviceUnavailable, FileErrorDetail(root, problem.value())); },
             Widget());
}

}  // namespace host

#include "DriveListBox.moc"
