#pragma once
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

namespace app_testing {

// Answers every message box that opens while it lives, as a user would press OK, and records
// what each one said.
class MessageBoxAnswerer : public QObject {
    Q_OBJECT
public:
    struct Answered {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };

    MessageBoxAnswerer();

    std::vector<Answered> boxes;
    QStringList texts() const;

private:
    void answerOpenBox();

    QTimer m_timer;
};

} // namespace app_testing
