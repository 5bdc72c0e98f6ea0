#include "output/batch_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace korvex::ui {
namespace {

constexpr int kMaxCount = 1'000'000;
constexpr int kNoLimit = 100;

}  // namespace

BatchDialog::BatchDialog(const QString& folder, QWidget* parent)
    : QDialog(parent),
      count_(new QSpinBox(this)),
      unique_(new QCheckBox(QStringLiteral("&Different texts only"), this)),
      maxSimilarity_(new QSpinBox(this)),
      files_(new QRadioButton(QStringLiteral("A text &file each"), this)),
      csv_(new QRadioButton(QStringLiteral("One &CSV file, with the choices of each text"), this)),
      folder_(new QLineEdit(folder, this)) {
    setObjectName(QStringLiteral("BatchDialog"));
    setWindowTitle(QStringLiteral("Export Many Texts"));

    count_->setObjectName(QStringLiteral("BatchCount"));
    count_->setRange(1, kMaxCount);
    count_->setValue(100);
    count_->setGroupSeparatorShown(true);
    unique_->setObjectName(QStringLiteral("BatchUnique"));
    maxSimilarity_->setObjectName(QStringLiteral("BatchMaxSimilarity"));
    maxSimilarity_->setRange(0, kNoLimit);
    maxSimilarity_->setValue(kNoLimit);
    maxSimilarity_->setSuffix(QStringLiteral("%"));
    maxSimilarity_->setToolTip(
        QStringLiteral("A text is kept only when at most this share of its 4-word runs is "
                       "shared with every text kept before; 100% keeps every text"));
    files_->setObjectName(QStringLiteral("BatchFiles"));
    files_->setChecked(true);
    csv_->setObjectName(QStringLiteral("BatchCsv"));
    folder_->setObjectName(QStringLiteral("BatchFolder"));
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    browse->setObjectName(QStringLiteral("BatchBrowse"));
    connect(browse, &QPushButton::clicked, this, &BatchDialog::chooseFolder);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&How many texts:"), count_);
    form->addRow(QString(), unique_);
    form->addRow(QStringLiteral("&Most alike allowed:"), maxSimilarity_);
    form->addRow(QStringLiteral("Write:"), files_);
    form->addRow(QString(), csv_);
    // A row of two widgets takes no buddy from the form: the label names its field itself.
    auto* folderLabel = new QLabel(QStringLiteral("F&older:"), this);
    folderLabel->setBuddy(folder_);
    form->addRow(folderLabel, folderRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Export"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Nowhere to write to: nothing to start.
    connect(folder_, &QLineEdit::textChanged, this, [this, buttons](const QString& text) {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!text.trimmed().isEmpty());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    folder_->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    // Numbers of a few digits: the boxes need not run the whole width.
    const int numberWidth = fontMetrics().horizontalAdvance(QStringLiteral("0,000,000 %")) * 2;
    count_->setMaximumWidth(numberWidth);
    maxSimilarity_->setMaximumWidth(numberWidth);
}

BatchRequest BatchDialog::request() const {
    BatchRequest request;
    request.count = static_cast<std::uint64_t>(count_->value());
    request.unique = unique_->isChecked();
    if (maxSimilarity_->value() < kNoLimit) {
        request.maxSimilarity = maxSimilarity_->value();
    }
    request.csv = csv_->isChecked();
    request.folder = folder_->text().trimmed();
    return request;
}

void BatchDialog::chooseFolder() {
    const QString chosen =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Folder"), folder_->text());
    if (!chosen.isEmpty()) {
        folder_->setText(chosen);
    }
}

}  // namespace korvex::ui
