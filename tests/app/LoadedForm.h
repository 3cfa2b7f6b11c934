#pragma once
// The main window after its start-up steps, in a home of its own and over an empty clipboard. The
// clipboard's reader goes when the test ends, as at the program's end, so the next test starts with
// a fresh one that watches (the pause belongs to the reader).

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "app/Form1.h"
#include "host/Clipboard.h"
#include "support/TempHome.h"

namespace testing_support {

class LoadedForm : public ::testing::Test {
protected:
    void SetUp() override {
        QGuiApplication::clipboard()->clear();
        form.Form_Load();
    }
    void TearDown() override { host::Clipboard::Close(); }

    TempHome home;
    Form1 form;
};

}  // namespace testing_support
