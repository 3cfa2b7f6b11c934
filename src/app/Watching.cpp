#include "app/Watching.h"

#include "host/Clipboard.h"

bool Watching::Paused() const { return host::Clipboard::Paused(); }

void Watching::SetPaused(bool paused) {
    if (paused == Paused()) return;
    host::Clipboard::SetPaused(paused);
    emit Changed();
}

void Watching::GrabSaved() {
    ++grabsSaved_;
    emit Changed();
}
