// How a plug-in finds the MDI area of the host's main frame, the parent of
// every tool window.
#pragma once

class QMdiArea;

// The object name the host gives its main frame.
inline constexpr const char* kMainFrameObjectName = "VelmoraMainFrame";

// The main frame's MDI area, or null when no main frame exists.
QMdiArea* FindMainMdiArea();
