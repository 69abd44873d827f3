// libquilo: the score library the game loads at run time and binds by the entry-point
// names below. It sends the game's requests to the score server over HTTP or HTTPS
// through libcurl's multi interface, all of it inside QUILO_Update on the caller's
// thread, signs each request, and splits each answer into lines.
//
// Entry points (texts are zero-ended, one byte per character):
//   QUILO__SetServer(text)        base URL, such as http://127.0.0.1:8642/scores
//   QUILO__SetDelimiter(text)     its first byte ends answer lines (empty: LF, CR LF too)
//   QUILO__SetKey(text)           the signing key
//   QUILO_)SetKeySend(text)       the same as QUILO__SetKey
//   QUILO__SetKeyReceive(text)    kept; our server does not sign its answers
//   QUILO_Update()                moves every transfer on; never blocks
//   QUILO__Send(command, request, int, int)
//                                 queues GET base URL + "/" + request under the command
//                                 number; the two ints are accepted and unused
//   QUILO_GetNumberOfCommandsInQueue()  requests whose transfer has not finished
//   QUILO_Cancel()                abandons every transfer and every unread answer
//   QUILO_Receive(command)        1 and makes the oldest unread answer to the command
//                                 the current one, 0 when none has arrived
//   QUILO_GetState()              the current answer's state (below)
//   QUILO_GetNbOfLines()          its number of lines
//   QUILO__GetResult(line)        its line, from 1; "" outside; valid until the next
//                                 QUILO_Receive or QUILO_Cancel
//
// Requests run one at a time in the order they were sent, so a score is stored before
// the fetch queued after it. Each gives up after kConnectTimeoutMs without a
// connection and after kTotalTimeoutMs in all, so a caller waiting for an empty queue
// always gets one: n requests take at most n x kTotalTimeoutMs.
#pragma once

namespace quilo {

inline constexpr const char* kLibraryName = "libquilo.so";

// Answer states. Only kStateOk means the answer's lines are the server's.
inline constexpr int kStateNone = 0;          // nothing received yet
inline constexpr int kStateOk = 2;            // HTTP 200, and the body was read as lines
inline constexpr int kStateHttpError = 3;     // the server answered another status
inline constexpr int kStateNoConnection = 4;  // refused, unknown host, TLS failure
inline constexpr int kStateTimedOut = 5;      // no connection, or no whole answer, in time
inline constexpr int kStateBadAnswer = 6;     // HTTP 200 with a body that is not text
inline constexpr int kStateBadRequest = 7;    // no server set, or no URL could be made
inline constexpr int kStateFailed = 8;        // any other transfer failure

inline constexpr int kConnectTimeoutMs = 3000;
inline constexpr int kTotalTimeoutMs = 10000;

// Headers that carry the signature: HMAC-SHA256 of SignatureBase (signature.h), hex.
inline constexpr const char* kTimestampHeader = "X-Silkguard-Timestamp";
inline constexpr const char* kNonceHeader = "X-Silkguard-Nonce";
inline constexpr const char* kSignatureHeader = "X-Silkguard-Signature";

// The exported names, for dlsym.
inline constexpr const char* kSetServer = "QUILO__SetServer";
inline constexpr const char* kSetDelimiter = "QUILO__SetDelimiter";
inline constexpr const char* kSetKey = "QUILO__SetKey";
inline constexpr const char* kSetKeySend = "QUILO_)SetKeySend";
inline constexpr const char* kSetKeyReceive = "QUILO__SetKeyReceive";
inline constexpr const char* kUpdate = "QUILO_Update";
inline constexpr const char* kSend = "QUILO__Send";
inline constexpr const char* kQueueCount = "QUILO_GetNumberOfCommandsInQueue";
inline constexpr const char* kCancel = "QUILO_Cancel";
inline constexpr const char* kReceive = "QUILO_Receive";
inline constexpr const char* kGetState = "QUILO_GetState";
inline constexpr const char* kGetResult = "QUILO__GetResult";
inline constexpr const char* kGetLineCount = "QUILO_GetNbOfLines";

using TextFn = void (*)(const char*);
using VoidFn = void (*)();
using SendFn = void (*)(int, const char*, int, int);
using CountFn = int (*)();
using ReceiveFn = int (*)(int);
using ResultFn = const char* (*)(int);

}  // namespace quilo
