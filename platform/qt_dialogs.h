#pragma once
#include "platform/dialogs.h"

namespace korvex::platform {

/// The real boxes: QMessageBox and QInputDialog, modal, at their default position.
class QtDialogs : public Dialogs {
protected:
    Answer showMessage(QWidget* parent, const MessageBox& box) override;
    std::optional<QString> showInput(QWidget* parent, const InputBox& box) override;
};

}  // namespace korvex::platform
