#include "host/MsgBox.h"

#include <QMessageBox>

#include "host/App.h"

namespace host {

void MsgBox(const QString& prompt) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, App::EXEName(), prompt, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

}  // namespace host
