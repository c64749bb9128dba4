#pragma once

#include <memory>

#include <QGuiApplication>

namespace cli {

// Fonts and their metrics need a GUI application; a headless one (the offscreen platform, unless the
// user chose another) so a command that writes a PDF runs without a display. None when the program has
// an application already.
std::unique_ptr<QGuiApplication> guiApplication();

} // namespace cli
