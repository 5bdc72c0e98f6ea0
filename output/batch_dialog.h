#pragma once
#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace korvex::ui {

/// What the user asked the batch export for.
struct BatchRequest {
    std::uint64_t count = 100;
    bool unique = false;
    /// Keep a text only when it is at most this many percent like every text kept before.
    std::optional<double> maxSimilarity;
    bool csv = false;  ///< one CSV file with the choices of each text, instead of a file each
    QString folder;
};

/// The questions of "Export Many Texts...": how many texts, whether they must differ and how
/// much, files or CSV, and the folder.
class BatchDialog : public QDialog {
    Q_OBJECT
public:
    BatchDialog(const QString& folder, QWidget* parent = nullptr);

    BatchRequest request() const;

private:
    void chooseFolder();

    QSpinBox* count_;
    QCheckBox* unique_;
    QSpinBox* maxSimilarity_;
    QRadioButton* files_;
    QRadioButton* csv_;
    QLineEdit* folder_;
};

}  // namespace korvex::ui
