#include "app/Form1.h"

#include <QApplication>
#include <QCloseEvent>

#include "app/AppIcon.h"
#include "app/Form2.h"
#include "host/Clipboard.h"
#include "host/CurDir.h"
#include "host/ErrorNotice.h"
#include "host/StaleFiles.h"
#include "settings/Module1.h"

namespace {
Form1* mainForm = nullptr;
}

Form1& MainForm() { return *mainForm; }

Form1::Form1()
    : host::Form(QStringLiteral("Tallowin"), 3510, 5235),
      Label3(this, "Label3", QStringLiteral("Target"), 120, 120, 495, 255, 8),
      Text1(this, "Text1", 120, 360, 2295, 315, 0),
      Browse(this, "Browse", QStringLiteral("Browse"), 2520, 360, 855, 375, 6),
      Label2(this, "Label2", QStringLiteral("Name"), 120, 720, 495, 255, 7),
      Label4(this, "Label4", QStringLiteral("Number"), 1680, 720, 615, 255, 11),
      Text2(this, "Text2", 120, 960, 1335, 315, 1),
      Text3(this, "Text3", 1680, 960, 735, 315, 10),
      Exit(this, "Exit", QStringLiteral("EXIT"), 2520, 960, 855, 375, 5),
      Label1(this, "Label1", QStringLiteral("Save as"), 120, 1440, 615, 255, 4),
      Option1(this, "Option1", QStringLiteral("JPG"), 840, 1440, 615, 255, 2),
      Option2(this, "Option2", QStringLiteral("BMP"), 1560, 1440, 735, 255, 3),
      Option3(this, "Option3", QStringLiteral("PNG"), 2400, 1440, 735, 255, 12),
      Picture1(this, "Picture1", 120, 1920, 3255, 3135, 9),
      Timer1(2000) {
    mainForm = this;
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(AppIcon());
    host::Control::SetTabOrder({&Label3, &Text1, &Browse, &Label2, &Label4, &Text2, &Text3, &Exit, &Label1,
                                &Option1, &Option2, &Picture1, &Option3});
    Option1.SetValue(true);
    // What screen readers call the fields: their captions; the preview has none on screen.
    Label3.SetBuddy(Text1);
    Label2.SetBuddy(Text2);
    Label4.SetBuddy(Text3);
    Picture1.Widget()->setAccessibleName(QStringLiteral("Preview"));

    Text1.OnChange([this] { State.sTarget = Text1.Text(); });
    Text2.OnChange([this] { State.sName = Text2.Text(); });
    Text3.OnChange([this] { State.sNumber = Text3.Text(); });
    Browse.OnClick([this] { Browse_Click(); });
    Exit.OnClick([this] { Exit_Click(); });
    Timer1.OnTimer([this] { Timer1_Timer(); });
    QObject::connect(&Watch, &Watching::Changed, this, [this] {
        setWindowTitle(Watch.Paused() ? QStringLiteral("Tallowin (paused)") : QStringLiteral("Tallowin"));
    });
}

Form1::~Form1() {
    if (mainForm == this) mainForm = nullptr;
}

void Form1::Form_Load() {
    LoadSettings(*this, State);
    // What a killed run left beside the user's files goes first.
    host::RemoveStaleTemporaryFiles(State.sAppDir);
    host::RemoveStaleTemporaryFiles(State.sTarget);
    Text1.SetText(State.sTarget);
    Text2.SetText(State.sName);
    Text3.SetText(State.sNumber);
    Timer1.SetEnabled(true);
    host::Clipboard::Clear();
    // Started from a folder that is gone, the run goes on with the defaults; it says why once.
    host::CheckCurDirExists();
}

void Form1::Browse_Click() {
    // Showing the chooser creates and loads it first when it does not exist; it stays modeless.
    Form2& chooser = ChooserForm();
    chooser.Show();
    chooser.SetFocus();
    Text1.SetText(State.sTarget);
}

void Form1::Exit_Click() {
    SaveSettings(*this, State);
    Timer1.SetEnabled(false);
    QApplication::exit(0);
}

void Form1::Timer1_Timer() {
    // Every grab copied since the last tick is saved, in the order copied, each as at a tick of its
    // own; an error ends the tick and leaves the rest for the next one. A saved grab shows that
    // saving works (again): an earlier error's notice goes. Paused, the tick leaves the clipboard be.
    if (Watch.Paused()) return;
    for (int saved = 0; saved < kMostGrabsATick && Capture.Run(); ++saved) {
        Watch.GrabSaved();
        host::ErrorNotice::Resolved(QStringLiteral("saved ") + State.sFileName);
    }
}

void Form1::closeEvent(QCloseEvent* event) {
    // Closing through the frame ends the program, the chooser too, and saves nothing.
    event->accept();
    Timer1.SetEnabled(false);
    QApplication::exit(0);
}
