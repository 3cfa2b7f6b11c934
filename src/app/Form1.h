#pragma once
// The main window: the target folder, name prefix and number, the output format, the preview, and
// the timer that drives the capture cycle.

#include "app/Watching.h"
#include "capture/CaptureCycle.h"
#include "host/CommandButton.h"
#include "host/Form.h"
#include "host/Label.h"
#include "host/OptionButton.h"
#include "host/PictureBox.h"
#include "host/ProgramState.h"
#include "host/TextBox.h"
#include "host/Timer.h"

class Form1 : public host::Form {
public:
    Form1();
    ~Form1() override;

    // The start-up steps; run once, before the window is first shown.
    void Form_Load();

    host::Label Label3;
    host::TextBox Text1;
    host::CommandButton Browse;
    host::Label Label2;
    host::Label Label4;
    host::TextBox Text2;
    host::TextBox Text3;
    host::CommandButton Exit;
    host::Label Label1;
    host::OptionButton Option1;
    host::OptionButton Option2;
    host::OptionButton Option3;
    host::PictureBox Picture1;
    host::Timer Timer1;

    host::ProgramState State;
    CaptureCycle Capture{{Option1, Option3, Text3, Picture1}, State};
    Watching Watch;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Browse_Click();
    void Exit_Click();
    void Timer1_Timer();
    // The most grabs one tick saves: every waiting one and the clipboard's own.
    static constexpr int kMostGrabsATick = 32;
};

// The single main window of the run.
Form1& MainForm();
