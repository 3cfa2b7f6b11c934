#pragma once
#include <QString>

namespace host {

// What the host knows of the running program.
class App {
public:
    // The executable's file name without extension ("tallowin").
    static QString EXEName();
};

}  // namespace host
