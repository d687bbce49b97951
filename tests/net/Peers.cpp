#include "net/Peers.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "net/Base64.h"
#include "net/Stream.h"

#ifdef _WIN32
#include <windows.h>

#include "base/Text.h"
#else
#include <poll.h>
#include <spawn.h>
#include <unistd.h>
extern char** environ;
#endif

namespace nettest {

namespace {

constexpr net::Millis kLimit{20000};
std::string problem;

#ifdef _WIN32
// Wine starts the Linux interpreter directly; the hub tells its port through
// a file and ends when our control connection closes.
uint16_t SpawnHub() {
  std::random_device random;
  std::string portFile = "/tmp/mirven-net-hub-" + std::to_string(random()) + "-" +
                         std::to_string(GetCurrentProcessId()) + ".port";
  std::wstring command = L"Z:\\usr\\bin\\python3 " +
                         base::Wide(MIRVEN_SOURCE_DIR "/tests/net/peers/hub.py") + L" --port-file " +
                         base::Wide(portFile) + L" --exit-with-client";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return 0;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::wstring windowsPath = L"Z:" + base::Wide(portFile);
  for (wchar_t& c : windowsPath)
    if (c == L'/') c = L'\\';
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    std::ifstream in(windowsPath.c_str());
    int port = 0;
    if (in >> port) {
      in.close();
      DeleteFileW(windowsPath.c_str());
      return static_cast<uint16_t>(port);
    }
    Sleep(50);
  }
  return 0;
}
#else
// Started once per test process; it ends when our end of its stdin closes.
uint16_t SpawnHub() {
  int in[2], out[2];
  if (pipe(in) != 0 || pipe(out) != 0) return 0;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, in[1]);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string script = MIRVEN_SOURCE_DIR "/tests/net/peers/hub.py";
  char* argv[] = {const_cast<char*>("/usr/bin/python3"), script.data(), nullptr};
  pid_t pid;
  int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  if (failed) return 0;
  std::string line;
  char c;
  pollfd p{out[0], POLLIN, 0};
  while (poll(&p, 1, 20000) == 1 && read(out[0], &c, 1) == 1 && c != '\n') line += c;
  close(out[0]);
  return line.rfind("PORT ", 0) == 0 ? static_cast<uint16_t>(std::atoi(line.c_str() + 5)) : 0;
}
#endif

net::Stream* Control() {
  static std::unique_ptr<net::Stream> stream = [] {
    const char* env = std::getenv("MIRVEN_NET_PEERS");
    uint16_t port = env != nullptr ? static_cast<uint16_t>(std::atoi(env)) : 0;
    if (port == 0) port = SpawnHub();
    std::unique_ptr<net::Stream> s;
    if (port != 0)
      s = net::SystemServices().Connect("127.0.0.1", port, net::Resolve::kNumericOnly, kLimit);
    if (!s) problem = "the test peers did not start (MIRVEN_NET_PEERS unset or unreachable)";
    return s;
  }();
  return stream.get();
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

}  // namespace

std::string Encode(std::string_view bytes) {
  std::string text = net::Base64Encode(bytes);
  return text.empty() ? "-" : text;
}

std::string Decode(std::string_view text) {
  std::string out;
  unsigned bits = 0, count = 0;
  for (char c : text) {
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const char* at = c == '\0' ? nullptr : std::strchr(alphabet, c);
    if (at == nullptr) continue;
    bits = (bits << 6) | static_cast<unsigned>(at - alphabet);
    if ((count += 6) >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  return out;
}

const std::string& Problem() { return problem; }

std::vector<std::string> Call(const std::string& command) {
  net::Stream* stream = Control();
  if (stream == nullptr) return {};
  std::string line = command + "\n";
  if (stream->SendAll(line.data(), line.size(), kLimit) != net::IoStatus::kOk) return {};
  static std::string pending;
  std::vector<std::string> lines;
  char buffer[65536];
  for (;;) {
    size_t lf;
    while ((lf = pending.find('\n')) != std::string::npos) {
      std::string got = pending.substr(0, lf);
      pending.erase(0, lf + 1);
      if (got == "END") return lines;
      lines.push_back(got);
    }
    net::IoResult r = stream->Receive(buffer, sizeof buffer, kLimit);
    if (r.status != net::IoStatus::kOk) {
      problem = "the test peers stopped answering";
      return {};
    }
    pending.append(buffer, r.bytes);
  }
}

Peer Start(const std::string& command) {
  auto lines = Call(command);
  Peer peer;
  if (lines.size() == 1 && lines[0].rfind("OK ", 0) == 0) {
    auto words = Words(lines[0]);
    peer.port = static_cast<uint16_t>(std::atoi(words[1].c_str()));
    peer.id = words[2];
  } else if (!lines.empty()) {
    problem = lines[0];
  }
  return peer;
}

void Stop(const Peer& peer) {
  if (!peer.id.empty()) Call("stop " + peer.id);
}

std::string Log(const Peer& peer) {
  auto lines = Call("log " + peer.id);
  return lines.empty() ? std::string() : Decode(lines[0].substr(5));
}

std::string TestCaDer() {
  auto lines = Call("pki");
  bool ok = lines.size() == 1 && lines[0].rfind("OK ", 0) == 0;
  return ok ? Decode(lines[0].substr(3)) : std::string();
}

std::vector<ReceivedMail> Mails(const Peer& peer) {
  std::vector<ReceivedMail> mails;
  for (const std::string& line : Call("mails " + peer.id)) {
    auto w = Words(line);
    if (w[0] == "MAIL") mails.emplace_back();
    if (mails.empty() || w.size() < 2) continue;
    ReceivedMail& m = mails.back();
    if (w[0] == "from") m.from = Decode(w[1]);
    if (w[0] == "rcpt") m.recipients.push_back(Decode(w[1]));
    if (w[0] == "raw") m.raw = Decode(w[1]);
    if (w[0] == "defects") m.defects = Decode(w[1]);
    if (w[0] == "header") m.headers.emplace_back(Decode(w[1]), Decode(w[2]));
    if (w[0] == "mailbox" && w.size() == 4)
      m.mailboxes.push_back({Decode(w[1]), Decode(w[2]), Decode(w[3])});
    if (w[0] == "part") m.parts.push_back({Decode(w[1]), Decode(w[2]), Decode(w[3]), Decode(w[4])});
  }
  return mails;
}

std::string ReceivedMail::Header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (key == name) return value;
  return {};
}

bool ReceivedMail::HasHeader(std::string_view name) const {
  for (const auto& header : headers)
    if (header.first == name) return true;
  return false;
}

TempDir::TempDir() {
  std::random_device random;
  auto dir = std::filesystem::temp_directory_path() /
             ("mirven-net-" + std::to_string(random()) + std::to_string(random()));
  std::filesystem::create_directories(dir);
  path_ = dir.u8string();
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::u8path(path_), ignored);
}

std::string TempDir::PeerPath() const {
#ifdef _WIN32
  using ToUnix = char*(__cdecl*)(const wchar_t*);
  auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return path_;
  char* unixPath = toUnix(base::Wide(path_).c_str());
  if (unixPath == nullptr) return path_;
  std::string result = unixPath;
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
#else
  return path_;
#endif
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  auto file = std::filesystem::u8path(path_) / std::filesystem::u8path(name);
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file.u8string();
}

}  // namespace nettest
