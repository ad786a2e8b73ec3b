// INTESTA, the information window: version, user manual, web page and mail to the maker.
#pragma once

#include "core/model/manual.h"
#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/model/version.h"
#include "widgets/ui/qt_resizer.h"

#include <QDialog>
#include <QUrl>
#include <functional>
#include <string>

class QLabel;

namespace cam {

inline const std::string kVersionText = std::string("VERSION ") + kVersion;
inline constexpr const char* kMakerWeb = "https://example.com/camdesk";
inline constexpr const char* kMakerMail = "mailto:support@example.com";

class INTESTA : public QDialog {
    Q_OBJECT
public:
    // openUrl opens a document or address with its associated program; true on success.
    // By default QDesktopServices::openUrl.
    INTESTA(Program& p, Prompt& prompt, QWidget* parent = nullptr, std::function<bool(const QUrl&)> openUrl = {});

    // Where the manual that comes with the program is looked for besides the working folder.
    void setProgramFolder(const std::string& exeDir) { exeDir_ = exeDir; }
    void openManual();  // HELP
    void openWeb();     // Internet
    void openMail();    // eMail

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    Program& p_;
    Prompt& prompt_;
    std::function<bool(const QUrl&)> openUrl_;
    std::string exeDir_;
    QLabel* version_ = nullptr;
    ClsResize resizer_;
};

}  // namespace cam
