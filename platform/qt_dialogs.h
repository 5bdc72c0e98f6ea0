#pragma once
#include "platform/dialogs.h"

namespace korvex::platform {

/// The real boxes: QMessageBox and QInputDialog, modal, at their default position.
class QtDialogs : public Dialogs {
public:
    /// The width an input box needs to show `caption` whole in its title bar.
    static int titleWidth(const QString& caption);

protected:
    Answer showMessage(QWidget* parent, const MessageBox& box) override;
    std::optional<QString> showInput(QWidget* parent, const InputBox& box) override;
};

}  // namespace korvex::platform
