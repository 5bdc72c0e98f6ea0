#include "editor/file_watch.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace korvex::editor {

FileWatch::FileWatch(QWidget* window)
    : QFrame(window),
      watcher_(new QFileSystemWatcher(this)),
      settle_(new QTimer(this)),
      text_(new QLabel(this)) {
    setObjectName(QStringLiteral("ReloadBar"));
    setAccessibleName(QStringLiteral("Project file changed on disk"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    text_->setObjectName(QStringLiteral("ReloadText"));
    text_->setWordWrap(true);
    auto* reload = new QPushButton(QStringLiteral("&Reload"), this);
    reload->setObjectName(QStringLiteral("ReloadButton"));
    auto* keep = new QPushButton(QStringLiteral("&Keep This Text"), this);
    keep->setObjectName(QStringLiteral("KeepButton"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 6, 3);
    row->addWidget(text_, 1);
    row->addWidget(reload);
    row->addWidget(keep);
    hide();

    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(settle_, &QTimer::timeout, this, &FileWatch::look);
    connect(watcher_, &QFileSystemWatcher::fileChanged, settle_, qOverload<>(&QTimer::start));
    connect(reload, &QPushButton::clicked, this, [this] {
        hide();
        emit reloadWanted();
    });
    // Kept: the file as it is now is known, and the next save writes over it.
    connect(keep, &QPushButton::clicked, this, [this] {
        known_ = stampOf(file_);
        hide();
    });
}

FileWatch::Stamp FileWatch::stampOf(const QString& file) {
    QFile read(file);
    if (!read.open(QIODevice::ReadOnly)) {
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&read);
    return hash.result();
}

void FileWatch::remember(const QString& file) {
    file_ = file;
    known_ = stampOf(file);
    settle_->stop();
    hide();
    // A save puts a new file in place of the old one, which the watcher then loses.
    if (!watcher_->files().isEmpty()) {
        watcher_->removePaths(watcher_->files());
    }
    watcher_->addPath(file);
}

void FileWatch::setModified(bool modified) {
    modified_ = modified;
    tell();
}

void FileWatch::look() {
    if (file_.isEmpty()) {
        return;
    }
    if (!watcher_->files().contains(file_)) {
        watcher_->addPath(file_);
    }
    if (stampOf(file_) != known_) {
        tell();
        show();
    }
}

void FileWatch::tell() {
    text_->setText(modified_ ? QStringLiteral("The project file was changed on disk by another "
                                              "program. Reloading it loses the changes made here.")
                             : QStringLiteral("The project file was changed on disk by another "
                                              "program."));
}

void FileWatch::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    emit shownChanged();
}

void FileWatch::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    emit shownChanged();
}

}  // namespace korvex::editor
