// A log shared by the test plug-ins and the tests that load them: every entry
// point records its call, so a test can check what the host called and in
// which order and on which thread.
#pragma once

#include <string>
#include <vector>

// Records `event` while recording is on (at most a bounded number of entries,
// so a spinning comm thread cannot fill the memory).
void TestLogRecord(const std::string& event);

// Starts recording anew (the log is emptied).
void TestLogStart();

// Stops recording and returns what was recorded.
std::vector<std::string> TestLogTake();

// Whether the calling thread is the one that called TestLogMarkUiThread.
void TestLogMarkUiThread();
bool TestLogOnUiThread();
