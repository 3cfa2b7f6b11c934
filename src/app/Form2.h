#pragma once
// The target folder chooser: a drive list, a directory list and a file list. The folder the
// directory list shows is the target folder from the moment it is opened; Done copies it into the
// main window's field and hides the chooser.

#include "host/CommandButton.h"
#include "host/DirListBox.h"
#include "host/DriveListBox.h"
#include "host/FileListBox.h"
#include "host/Form.h"

class Form2 : public host::Form {
public:
    Form2();
    ~Form2() override;

    // Shows the target folder in the three lists; runs once, when the chooser is created.
    void Form_Load();

    host::DriveListBox Drive1;
    host::DirListBox Dir1;
    host::FileListBox File1;
    host::CommandButton Done;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Drive1_Change();
    void Dir1_Change();
    void Done_Click();
};

// The chooser of the run. Created and loaded on first use, and again on the first use after it
// was closed through its window frame (which destroys it); Done only hides it.
Form2& ChooserForm();
// The chooser if it exists now, else null.
Form2* ExistingChooserForm();
