#include "widgets/ui/qt_single_instance.h"

#include <QDir>
#include <QLockFile>
#include <chrono>

namespace cam {

SingleInstance::SingleInstance(const std::string& folder)
    : lock_(std::make_unique<QLockFile>(QDir(QString::fromLocal8Bit(folder.c_str())).filePath("camdesk.lock"))) {
    // A lock whose process has ended is stale and taken over; a live one never expires.
    lock_->setStaleLockTime(std::chrono::hours(24 * 365));
    acquired_ = lock_->tryLock(0);
}

SingleInstance::~SingleInstance() = default;

}  // namespace cam
