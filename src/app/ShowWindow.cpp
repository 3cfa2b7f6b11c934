#include "app/ShowWindow.h"

#include <QApplication>

#include "app/Form1.h"

void ShowMainWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* form = dynamic_cast<Form1*>(window);
        if (!form) continue;
        form->setWindowState(form->windowState() & ~Qt::WindowMinimized);
        form->Show();
        form->SetFocus();
    }
}
