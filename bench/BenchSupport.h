#pragma once
// What several benchmarks share: the Qt application that font metrics need, and message boxes
// that accept only the one confirmation a valid run shows.
#include "platform/MessageBox.h"

#include <QGuiApplication>
#include <QString>
#include <memory>
#include <stdexcept>
#include <utility>

namespace zov::bench {

// One headless QGuiApplication serves every run of a benchmark program. It lives until the
// process ends: destroyed among the static destructors, after Qt's own, it would crash the exit.
inline void EnsureGuiApplication() {
    static int argc = 1;
    static char name[] = "zovedit-bench";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);
    }
}

// Every input of these benchmarks is valid: any box but the expected confirmation is a fault.
class ConfirmOnlyMessages : public platform::MessageBoxes {
public:
    explicit ConfirmOnlyMessages(QString confirmation) : confirmation_(std::move(confirmation)) {}
    platform::MessageAnswer show(const platform::Message& message) override {
        if (message.text != confirmation_)
            throw std::runtime_error("unexpected message: " + message.text.toStdString());
        return platform::MessageAnswer::Ok;
    }

private:
    QString confirmation_;
};

} // namespace zov::bench
