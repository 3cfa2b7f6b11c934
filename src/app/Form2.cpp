#include "app/Form2.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <exception>

#include "app/AppIcon.h"
#include "app/Form1.h"
#include "host/HostError.h"
#include "host/Twips.h"

namespace {
Form2* chooser = nullptr;
}

Form2& ChooserForm() {
    if (!chooser) {
        auto* created = new Form2;
        // It first opens beside the main window, so the fields stay in view.
        const Form1& main = MainForm();
        created->SetLeft(main.Left() + host::PixelsToTwips(main.frameGeometry().width()) + 120);
        created->SetTop(main.Top());
        chooser = created;
        try {
            created->Form_Load();
        } catch (...) {
            // A chooser whose loading failed is not kept half loaded: the next use starts afresh.
            chooser = nullptr;
            delete created;
            throw;
        }
    }
    return *chooser;
}

Form2* ExistingChooserForm() { return chooser; }

Form2::Form2()
    : host::Form(QStringLiteral("Tallowin Target"), 4560, 3120),
      Drive1(this, "Drive1", 120, 120, 4335, 315, 0),
      Dir1(this, "Dir1", 120, 600, 1935, 2340, 1),
      File1(this, "File1", 2280, 600, 2175, 1845, 2),
      Done(this, "Done", QStringLiteral("Done"), 2280, 2640, 2175, 375, 3) {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(AppIcon());
    host::Control::SetTabOrder({&Drive1, &Dir1, &File1, &Done});
    // The lists have no captions on screen; screen readers still need their names.
    Drive1.Widget()->setAccessibleName(QStringLiteral("Drive"));
    Dir1.Widget()->setAccessibleName(QStringLiteral("Folders"));
    File1.Widget()->setAccessibleName(QStringLiteral("Files"));

    Drive1.OnChange([this] { Drive1_Change(); });
    Dir1.OnChange([this] { Dir1_Change(); });
    Done.OnClick([this] { Done_Click(); });
    // The chooser has no owner, but it ends with the main window, as the program does.
    QObject::connect(&MainForm(), &QObject::destroyed, this, [this] { delete this; });
}

Form2::~Form2() {
    if (chooser == this) chooser = nullptr;
}

void Form2::Form_Load() {
    const QString& sTarget = MainForm().State.sTarget;
    try {
        const QString drivePart = sTarget.left(2);
        if (sTarget.size() < 2) host::RaiseError(host::kInvalidProcedureCall);
        const QString folderPart = sTarget.right(sTarget.size() - 2);
        Drive1.SetDrive(drivePart);
        Dir1.SetPath(folderPart);
        File1.SetPath(Dir1.Path());
    } catch (const std::exception&) {
        Dir1.SetPath(QStringLiteral("C:"));
        File1.SetPath(QStringLiteral("\\"));
    }
}

void Form2::Drive1_Change() {
    try {
        Dir1.SetPath(Drive1.Drive());
    } catch (const std::exception&) {
    }
}

void Form2::Dir1_Change() {
    try {
        File1.SetPath(Dir1.Path());
        MainForm().State.sTarget = Dir1.Path();
    } catch (const std::exception&) {
    }
}

void Form2::Done_Click() {
    MainForm().Text1.SetText(MainForm().State.sTarget);
    Hide();
    MainForm().SetFocus();
}

void Form2::keyPressEvent(QKeyEvent* event) {
    // Escape closes the chooser as its frame's close button does.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    host::Form::keyPressEvent(event);
}

void Form2::closeEvent(QCloseEvent* event) {
    // Closing through the frame destroys the chooser (WA_DeleteOnClose); the next Browse makes a new one.
    if (chooser == this) chooser = nullptr;
    host::Form::closeEvent(event);
}
