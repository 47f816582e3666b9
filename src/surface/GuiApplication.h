#pragma once
// Fonts and text metrics need a Qt GUI application object. Programs without a window (the CLI,
// tests, benchmarks) get an off-screen one on first use; a GUI program's own application is reused.

namespace qbm {

void EnsureGuiApplication();

} // namespace qbm
