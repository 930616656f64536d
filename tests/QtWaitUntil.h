// WaitUntil for tests with a Qt event loop: events are processed between polls.
#pragma once

#include "WaitUntil.h"

#include <QCoreApplication>

inline void ProcessEventsBriefly() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SleepBriefly();
}

template <class Predicate>
[[nodiscard]] testing::AssertionResult
WaitProcessingEvents(const char* what, Predicate done,
                     std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    return WaitUntil(what, done, limit, ProcessEventsBriefly);
}
