// tachocalib-emulator: plays the device on a pseudo-terminal linked as COMn in
// the per-user port folder, and prints every frame it receives.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <string_view>

#include "DeviceEmulator.h"
#include "PortMap.h"

namespace {

void Usage() {
  std::puts(
      "usage: tachocalib-emulator [options]\n"
      "  --com N            take COM N (1..42) in the port folder (default 3)\n"
      "  --folder DIR       the port folder (default: the tool's per-user port folder)\n"
      "  --no-link          make no link; only print the pseudo-terminal's path\n"
      "  --pacing           realistic pacing: 9600 baud 8E1 on the wire, 10 ms reply delay\n"
      "  --reply-delay MS   wait MS ms after a frame before replying\n"
      "  --late-ms MS       how late the \"late\" fault replies (default 2500)\n"
      "  --fault NAME       misbehave on purpose:\n"
      "      none              answer every frame as the device does\n"
      "      silent            receive, never answer\n"
      "      garbage           answer bytes that are no reply\n"
      "      short             answer only the first half of the reply\n"
      "      late              answer after --late-ms, past every read of the tool\n"
      "      bad-first-byte    answer with reply byte 0 = 0x03\n"
      "      hangup            hang up after a frame's first five bytes, come back\n"
      "      bursts            answer in bursts of --burst-bytes, --burst-gap-ms apart\n"
      "      junk-first        put --junk-bytes bytes of line noise before the reply\n"
      "      late-into-next    hold each reply back until the next frame comes in\n"
      "      cut-gsm           stop a GSM settings reply after reply byte --cut-after\n"
      "      slow              think --think-ms after a frame's last byte\n"
      "      stops-reading     stop taking bytes off the line\n"
      "      hangup-mid-reply  send half the reply, hang up, come back\n"
      "  --burst-bytes N    bytes in a burst (default 4)\n"
      "  --burst-gap-ms MS  silence between bursts (default 40)\n"
      "  --junk-bytes N     noise bytes before a reply (default 3)\n"
      "  --cut-after N      last GSM reply byte sent (default 40)\n"
      "  --think-ms MS      think time of the \"slow\" fault (default 250)\n"
      "Prints \"PTY <path>\" and \"LINK <path>\" first, then every frame received.\n"
      "Stops on Ctrl+C or SIGTERM and removes its link.");
}

bool ToInt(const char* text, int& value) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < 0 || v > 1000000) return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  tacho::emu::EmulatorOptions options;
  options.portFolder = tacho::PortMap::DefaultFolder();
  bool delayGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--help" || arg == "-h") {
      Usage();
      return 0;
    } else if (arg == "--com" && hasValue && ToInt(argv[i + 1], options.comNumber)) {
      ++i;
    } else if (arg == "--folder" && hasValue) {
      options.portFolder = argv[++i];
    } else if (arg == "--no-link") {
      options.createLink = false;
    } else if (arg == "--pacing") {
      options.realisticPacing = true;
    } else if (arg == "--reply-delay" && hasValue && ToInt(argv[i + 1], options.replyDelayMs)) {
      delayGiven = true;
      ++i;
    } else if (arg == "--late-ms" && hasValue && ToInt(argv[i + 1], options.lateReplyMs)) {
      ++i;
    } else if (arg == "--burst-bytes" && hasValue && ToInt(argv[i + 1], options.burstBytes)) {
      ++i;
    } else if (arg == "--burst-gap-ms" && hasValue && ToInt(argv[i + 1], options.burstGapMs)) {
      ++i;
    } else if (arg == "--junk-bytes" && hasValue && ToInt(argv[i + 1], options.junkBytes)) {
      ++i;
    } else if (arg == "--cut-after" && hasValue && ToInt(argv[i + 1], options.gsmCutAfterByte)) {
      ++i;
    } else if (arg == "--think-ms" && hasValue && ToInt(argv[i + 1], options.thinkMs)) {
      ++i;
    } else if (arg == "--fault" && hasValue && tacho::emu::ParseFault(argv[i + 1])) {
      options.fault = *tacho::emu::ParseFault(argv[++i]);
    } else {
      std::fprintf(stderr, "tachocalib-emulator: bad argument '%s'\n", argv[i]);
      Usage();
      return 2;
    }
  }
  if (options.comNumber < 1 || options.comNumber > 42) {
    std::fprintf(stderr, "tachocalib-emulator: --com takes 1..42\n");
    return 2;
  }
  if (options.realisticPacing && !delayGiven) options.replyDelayMs = 10;

  std::mutex out;
  options.log = [&out](const std::string& text) {
    std::lock_guard lock(out);
    std::fputs(text.c_str(), stdout);
    if (text.empty() || text.back() != '\n') std::fputc('\n', stdout);
    std::fflush(stdout);
  };

  // Block the stop signals before the emulator's thread starts, then wait for one.
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);

  try {
    tacho::emu::DeviceEmulator emulator(options);
    {
      std::lock_guard lock(out);
      std::printf("PTY %s\n", emulator.DevicePath().c_str());
      if (options.createLink) std::printf("LINK %s\n", emulator.LinkPath().c_str());
      std::printf("fault %s%s\n", std::string(tacho::emu::FaultName(options.fault)).c_str(),
                  options.realisticPacing ? ", realistic pacing" : "");
      std::fflush(stdout);
    }
    int sig = 0;
    sigwait(&stop, &sig);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tachocalib-emulator: %s\n", e.what());
    return 1;
  }
  return 0;
}
