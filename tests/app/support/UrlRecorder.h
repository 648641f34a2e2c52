#pragma once
#include <QObject>
#include <QUrl>
#include <vector>

namespace app_testing {

// Takes the place of the desktop's browser while it lives: every web address the program asks
// to open is recorded instead.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder();
    ~UrlRecorder() override;

    std::vector<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

} // namespace app_testing
