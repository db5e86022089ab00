// The replay format: a call sequence as plain text, one call a line, with the values of the
// console's fields, so that a failure found by the sweep or the random sample can be run again
// against the next build. A field left out keeps the console's start-up value.
//
//   # a comment; blank lines are skipped
//   Open
//   Set & show width=64 height=64 red=200 green=0 blue=0 file=<bitmap> rect=16,16,80,80
//   Move & show rect=16,16,80,80
//   Clear setting
//   Close
//
// file= takes a quoted name ("Image.bmp", with \" \\ and \xHH escapes; at most 260 bytes) or one
// of the files the checker makes for each run: <bitmap>, <japanese>, <259-byte bitmap>,
// <259-byte missing>, <missing>, <directory>.
//
// Any call may end with fail=CALL,N: during it the N-th call (from 1) the library makes to the
// wrapped import CALL fails, as check 9 made it fail ("Set & show fail=malloc,1"). Files without it
// replay as before.
#pragma once

#include <string>
#include <vector>

#include "check/call_input.h"

namespace check {

struct ReplayCall {
    PlannedCall call;
    int line;  // in the replay file, from 1
};

struct Replay {
    std::vector<ReplayCall> calls;
    std::vector<std::string> errors;  // "line N: reason", one per line that cannot be read
};

Replay ParseReplay(const std::string& text, const TestFiles& files);

// The lines for `calls`, each naming only the fields that differ from the start-up values.
std::string ReplayText(const std::vector<PlannedCall>& calls);

}  // namespace check
