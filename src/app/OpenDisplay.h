#pragma once
// Opening the display. When the toolkit can reach none it would abort with a page about
// reinstalling; instead one line says what is wrong and what to do, and the program ends with 1.

#include <QApplication>
#include <memory>
#include <string>

// The application on the display the toolkit's platform (QT_QPA_PLATFORM) names; does not return
// when there is none.
std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv);

// The line for a display that could not be opened, from the platform that was tried and the
// DISPLAY and WAYLAND_DISPLAY of the environment (null or empty when unset).
std::string NoDisplayMessage(const char* platform, const char* display, const char* waylandDisplay);
