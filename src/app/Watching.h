#pragma once
// Whether the run watches the clipboard or is paused, and how many grabs it saved. Pausing is for
// pictures copied for another program: while paused nothing is read and nothing is emptied (see
// host::Clipboard). The state is not stored: every run starts watching.

#include <QObject>

class Watching : public QObject {
    Q_OBJECT

public:
    bool Paused() const;
    void SetPaused(bool paused);
    void Toggle() { SetPaused(!Paused()); }

    // The grabs saved since the program started.
    int GrabsSaved() const { return grabsSaved_; }
    void GrabSaved();

signals:
    // After every change of either.
    void Changed();

private:
    int grabsSaved_ = 0;
};
