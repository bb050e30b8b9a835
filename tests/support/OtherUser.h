#pragma once

// A user other than the one running the tests, for files he may not write.
// Tests run as root in CI, and root may write every file, so there the other
// user is `nobody`; elsewhere it is the same user, and a file he may not
// write is one without write permission.

#include <QString>
#include <functional>

// Root runs the tests: files of another owner can be made.
bool runsAsRoot();

// In a child process: becomes the other user; ends the child when it cannot.
void becomeOtherUser();

// `step` run in a child process as the other user; false when it fails or
// the child does not end normally.
bool asOtherUser(const std::function<bool()>& step);

// Opens `folder` and everything in it to every user, so that the other user
// works in it as the owner does.
void openToEveryone(const QString& folder);
