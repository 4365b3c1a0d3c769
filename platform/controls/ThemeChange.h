#pragma once
// Telling the windows that the visual style changed. Tests change the theme
// facts (PlatformInfo) and then call this, as the window system would.

// Sends WM_THEMECHANGED and then CM_SYSFONTCHANGED to every control, windowed
// or not, under every existing top-level window, parents before children.
// A control freed by an earlier handler is skipped.
void NotifyThemeChanged();
