#pragma once

class QCoreApplication;

namespace quillo {

// The client's command line: --help and --version, nothing else of its own.

// Answers --help and --version before any window system is touched, so both work without a
// display, and ends the process with status 0. Returns when the client is to start.
void answerInformationalOptions(int& argc, char** argv);

// Chooses the toolkit's platform for this session (see session_platform.h). Returns false, after
// one line on stderr, when no graphical session can be reached; the client then ends with 1.
bool chooseSessionPlatform(int argc, char** argv);

// Once the toolkit has taken its own options: an unknown option ends the process with a message
// and status 1; a stray argument gets a message and false.
bool acceptArguments(const QCoreApplication& application);

// Says once, for support, what the window system decides instead of the client.
void noteSessionLimits();

} // namespace quillo
