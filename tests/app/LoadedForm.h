#pragma once
// The main window after its start-up steps, in a home of its own and over an empty clipboard. It
// watches again when the test ends: the pause belongs to the clipboard, which the tests share.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "app/Form1.h"
#include "support/TempHome.h"

namespace testing_support {

class LoadedForm : public ::testing::Test {
protected:
    void SetUp() override {
        QGuiApplication::clipboard()->clear();
        form.Form_Load();
    }
    void TearDown() override { form.Watch.SetPaused(false); }

    TempHome home;
    Form1 form;
};

}  // namespace testing_support
