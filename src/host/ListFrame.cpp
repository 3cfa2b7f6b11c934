#include "host/ListFrame.h"

#include <QAbstractScrollArea>

namespace host {

void KeepFrameWhole(QAbstractScrollArea& list) {
    list.setBackgroundRole(QPalette::Base);
    list.setAutoFillBackground(true);
    list.viewport()->setAutoFillBackground(false);
}

}  // namespace host
