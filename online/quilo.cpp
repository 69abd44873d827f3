// The score library. One set of state for the process: the game calls it from its one
// thread only, as the entry points promise.
#include "quilo.h"

#include <curl/curl.h>

#include <ctime>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "answer_lines.h"
#include "score_text.h"
#include "signature.h"

#define QUILO_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Unread answers beyond this many are dropped, oldest first, so a caller that never
// reads them cannot make the library grow.
constexpr std::size_t kMaxUnreadAnswers = 64;

struct Answer {
  int command = 0;
  int state = quilo::kStateNone;
  std::vector<std::string> lines;
};

struct Transfer {
  int command = 0;
  CURL* easy = nullptr;
  CURLU* url = nullptr;
  curl_slist* headers = nullptr;
  AnswerSplitter splitter;

  explicit Transfer(char delimiter) : splitter(delimiter) {}
  ~Transfer() {
    curl_easy_cleanup(easy);
    curl_url_cleanup(url);
    curl_slist_free_all(headers);
  }
};

struct Library {
  std::string server;
  std::string key;
  std::string key_receive;
  char delimiter = '\n';
  CURLM* multi = nullptr;
  std::vector<std::unique_ptr<Transfer>> transfers;
  std::deque<Answer> unread;
  Answer current;
};

Library& Lib() {
  static Library library;
  return library;
}

bool EnsureMulti() {
  Library& lib = Lib();
  if (lib.multi) return true;
  if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return false;
  lib.multi = curl_multi_init();
  return lib.multi != nullptr;
}

void Deliver(Answer answer) {
  Library& lib = Lib();
  if (lib.unread.size() >= kMaxUnreadAnswers) lib.unread.pop_front();
  lib.unread.push_back(std::move(answer));
}

// Keeps what a URL may carry as it is, escapes the rest; '#' too, as a request has no
// fragment. '%' stays: the game escapes the parts it inserts itself.
std::string EscapeForUrl(const char* text) {
  return PercentEncode(text, ":/?[]@!$&'()*+,;=%");
}

std::string UrlPart(CURLU* url, CURLUPart part) {
  char* text = nullptr;
  std::string value;
  if (curl_url_get(url, part, &text, 0) == CURLUE_OK && text) value = text;
  curl_free(text);
  return value;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  static_cast<Transfer*>(user)->splitter.Feed(std::string_view(data, size * count));
  return size * count;
}

// Sets up the transfer; false when no request can be made of it.
bool Prepare(Transfer& t, const char* request) {
  const Library& lib = Lib();
  if (lib.server.empty() || request == nullptr) return false;
  std::string text = lib.server;
  if (text.back() != '/') text.push_back('/');
  text += EscapeForUrl(request);

  t.url = curl_url();
  t.easy = curl_easy_init();
  if (!t.url || !t.easy) return false;
  if (curl_url_set(t.url, CURLUPART_URL, text.c_str(), 0) != CURLUE_OK) return false;
  const std::string scheme = UrlPart(t.url, CURLUPART_SCHEME);
  if (scheme != "http" && scheme != "https") return false;

  // Signed exactly as the server will see them.
  const std::string path = UrlPart(t.url, CURLUPART_PATH);
  const std::string query = UrlPart(t.url, CURLUPART_QUERY);
  const std::int64_t now = std::time(nullptr);
  const std::string nonce = FreshNonce();
  const std::string signature = RequestSignature(lib.key, "GET", path, query, now, nonce);
  if (nonce.empty() || signature.empty()) return false;
  for (const std::string& header :
       {std::string(quilo::kTimestampHeader) + ": " + std::to_string(now),
        std::string(quilo::kNonceHeader) + ": " + nonce,
        std::string(quilo::kSignatureHeader) + ": " + signature}) {
    curl_slist* grown = curl_slist_append(t.headers, header.c_str());
    if (!grown) return false;
    t.headers = grown;
  }

  CURL* e = t.easy;
  return curl_easy_setopt(e, CURLOPT_CURLU, t.url) == CURLE_OK &&
         curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
         curl_easy_setopt(e, CURLOPT_HTTPHEADER, t.headers) == CURLE_OK &&
         curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long{quilo::kConnectTimeoutMs}) ==
             CURLE_OK &&
         curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, long{quilo::kTotalTimeoutMs}) == CURLE_OK &&
         curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
         curl_easy_setopt(e, CURLOPT_USERAGENT, "silkguard-quilo/1.0") == CURLE_OK &&
         curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody) == CURLE_OK &&
         curl_easy_setopt(e, CURLOPT_WRITEDATA, &t) == CURLE_OK;
}

int StateOf(CURLcode result, long status) {
  switch (result) {
    case CURLE_OK:
      return status == 200 ? quilo::kStateOk : quilo::kStateHttpError;
    case CURLE_COULDNT_CONNECT:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
      return quilo::kStateNoConnection;
    case CURLE_OPERATION_TIMEDOUT:
      return quilo::kStateTimedOut;
    default:
      return quilo::kStateFailed;
  }
}

void Finish(Transfer& t, CURLcode result) {
  long status = 0;
  curl_easy_getinfo(t.easy, CURLINFO_RESPONSE_CODE, &status);
  Answer answer;
  answer.command = t.command;
  answer.state = StateOf(result, status);
  auto lines = t.splitter.Finish();
  if (answer.state == quilo::kStateOk) {
    if (lines)
      answer.lines = std::move(*lines);
    else
      answer.state = quilo::kStateBadAnswer;
  }
  Deliver(std::move(answer));
}

const char* Text(const char* text) {
  return text ? text : "";
}

// Requests run one after another, in the order they were sent, so a submission is
// stored before the fetch that follows it; only the head of the queue is in transfer.
void StartHead() {
  Library& lib = Lib();
  while (!lib.transfers.empty() &&
         curl_multi_add_handle(lib.multi, lib.transfers.front()->easy) != CURLM_OK) {
    Deliver(Answer{lib.transfers.front()->command, quilo::kStateBadRequest, {}});
    lib.transfers.erase(lib.transfers.begin());
  }
}

}  // namespace

QUILO_EXPORT void QuiloSetServer(const char* url) __asm__("QUILO__SetServer");
QUILO_EXPORT void QuiloSetDelimiter(const char* text) __asm__("QUILO__SetDelimiter");
QUILO_EXPORT void QuiloSetKey(const char* key) __asm__("QUILO__SetKey");
QUILO_EXPORT void QuiloSetKeySend(const char* key);
QUILO_EXPORT void QuiloSetKeyReceive(const char* key) __asm__("QUILO__SetKeyReceive");
QUILO_EXPORT void QuiloUpdate() __asm__("QUILO_Update");
QUILO_EXPORT void QuiloSend(int command, const char* request, int, int) __asm__("QUILO__Send");
QUILO_EXPORT int QuiloQueueCount() __asm__("QUILO_GetNumberOfCommandsInQueue");
QUILO_EXPORT void QuiloCancel() __asm__("QUILO_Cancel");
QUILO_EXPORT int QuiloReceive(int command) __asm__("QUILO_Receive");
QUILO_EXPORT int QuiloGetState() __asm__("QUILO_GetState");
QUILO_EXPORT const char* QuiloGetResult(int line) __asm__("QUILO__GetResult");
QUILO_EXPORT int QuiloLineCount() __asm__("QUILO_GetNbOfLines");

// This entry point's name cannot be spelt in C++; the assembler takes it quoted.
asm(".globl \"QUILO_)SetKeySend\"\n"
    ".type \"QUILO_)SetKeySend\", @function\n"
    ".set \"QUILO_)SetKeySend\", QuiloSetKeySend\n");

void QuiloSetServer(const char* url) {
  Lib().server = Text(url);
}

void QuiloSetDelimiter(const char* text) {
  Lib().delimiter = Text(text)[0] ? Text(text)[0] : '\n';
}

void QuiloSetKey(const char* key) {
  Lib().key = Text(key);
}

void QuiloSetKeySend(const char* key) {
  QuiloSetKey(key);
}

void QuiloSetKeyReceive(const char* key) {
  Lib().key_receive = Text(key);
}

void QuiloSend(int command, const char* request, int, int) {
  Library& lib = Lib();
  auto t = std::make_unique<Transfer>(lib.delimiter);
  t->command = command;
  if (!EnsureMulti() || !Prepare(*t, request)) {
    Deliver(Answer{command, quilo::kStateBadRequest, {}});
    return;
  }
  lib.transfers.push_back(std::move(t));
  if (lib.transfers.size() == 1) StartHead();
}

void QuiloUpdate() {
  Library& lib = Lib();
  if (!lib.multi) return;
  // A request that follows a finished one gets going in the same step: the caller
  // pauses between steps, and the pauses would add up over a sync's requests.
  for (bool next = true; next && !lib.transfers.empty();) {
    next = false;
    int running = 0;
    curl_multi_perform(lib.multi, &running);
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(lib.multi, &left)) {
      if (message->msg != CURLMSG_DONE || lib.transfers.empty() ||
          message->easy_handle != lib.transfers.front()->easy)
        continue;
      Transfer& done = *lib.transfers.front();
      Finish(done, message->data.result);
      curl_multi_remove_handle(lib.multi, done.easy);
      lib.transfers.erase(lib.transfers.begin());
      StartHead();
      next = true;
    }
  }
}

int QuiloQueueCount() {
  return static_cast<int>(Lib().transfers.size());
}

void QuiloCancel() {
  Library& lib = Lib();
  if (!lib.transfers.empty()) curl_multi_remove_handle(lib.multi, lib.transfers.front()->easy);
  lib.transfers.clear();
  lib.unread.clear();
  lib.current = Answer{};
}

int QuiloReceive(int command) {
  Library& lib = Lib();
  for (auto it = lib.unread.begin(); it != lib.unread.end(); ++it) {
    if (it->command == command) {
      lib.current = std::move(*it);
      lib.unread.erase(it);
      return 1;
    }
  }
  return 0;
}

int QuiloGetState() {
  return Lib().current.state;
}

int QuiloLineCount() {
  return static_cast<int>(Lib().current.lines.size());
}

const char* QuiloGetResult(int line) {
  const auto& lines = Lib().current.lines;
  if (line < 1 || static_cast<std::size_t>(line) > lines.size()) return "";
  return lines[static_cast<std::size_t>(line) - 1].c_str();
}
