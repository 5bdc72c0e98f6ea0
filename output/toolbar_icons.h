#pragma once
#include <QIcon>

namespace korvex::ui {

/// The pictures of the generated-text window's toolbar buttons.
enum class ToolbarIcon { ExportText, CopyAll, Statistics, Generate };

/// The desktop theme's icon for `which` where the theme has one, otherwise a simple drawn
/// picture, sharp up to twice the normal size.
QIcon toolbarIcon(ToolbarIcon which);

}  // namespace korvex::ui
