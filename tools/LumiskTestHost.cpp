// lumisk-testhost: loads the effect module, sends it the about, global set-up,
// parameter set-up and global set-down commands, and prints what it answered.
//
//   lumisk-testhost [--module PATH] [--language TAG]
#if !defined(_WIN32)
#include <iconv.h>
#endif

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "host/Host.h"

namespace {

using Orvane::Lumisk::HeadlessHost::Host;

// Texts of a Chinese host are code page 936 bytes; a Linux terminal wants
// UTF-8 (a Windows console in code page 936 shows them as they are).
std::string ToUtf8(const std::string& cp936) {
#if defined(_WIN32)
  return cp936;
#else
  iconv_t converter = iconv_open("UTF-8", "CP936");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    return cp936;
  }
  std::string out(cp936.size() * 3 + 1, '\0');
  char* in = const_cast<char*>(cp936.data());
  std::size_t inLeft = cp936.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const bool ok = iconv(converter, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(converter);
  if (!ok) {
    return cp936;
  }
  out.resize(out.size() - outLeft);
  return out;
#endif
}

std::string Printable(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

const char* TypeName(PF_ParamType type) {
  switch (type) {
    case PF_Param_LAYER:
      return "layer";
    case PF_Param_SLIDER:
      return "slider";
    case PF_Param_FIX_SLIDER:
      return "fixed slider";
    case PF_Param_ANGLE:
      return "angle";
    case PF_Param_CHECKBOX:
      return "checkbox";
    case PF_Param_COLOR:
      return "color";
    case PF_Param_POINT:
      return "point";
    case PF_Param_POPUP:
      return "popup";
    case PF_Param_FLOAT_SLIDER:
      return "float slider";
    case PF_Param_GROUP_START:
      return "group start";
    case PF_Param_GROUP_END:
      return "group end";
    default:
      return "unknown";
  }
}

void PrintParameters(Host& host) {
  auto& params = host.Params();
  for (PF_ParamIndex index = 1; index < params.Count(); ++index) {
    const auto& param = params.At(index);
    std::printf("  %2d  id %2d  %-12s  \"%s\"", index, param.definition.uu.id, TypeName(param.definition.param_type),
                ToUtf8(param.name).c_str());
    if (!param.popupItems.empty()) {
      std::printf("  items \"%s\"", ToUtf8(param.popupItems).c_str());
    }
    if (!param.checkboxLabel.empty()) {
      std::printf("  label \"%s\"", ToUtf8(param.checkboxLabel).c_str());
    }
    std::printf("%s\n", params.Hidden(index) ? "  (hidden)" : "");
  }
}

int Usage() {
  std::fprintf(stderr, "usage: lumisk-testhost [--module PATH] [--language TAG]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string modulePath = Orvane::Lumisk::HeadlessHost::DefaultModulePath();
  std::string language = "en_US";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--module" || arg == "--language") && i + 1 < argc) {
      (arg == "--module" ? modulePath : language) = argv[++i];
    } else {
      return Usage();
    }
  }

  try {
    Host host(modulePath);
    host.SetLanguageTag(language.c_str());
    std::printf("module: %s\n", modulePath.c_str());

    const PF_Err about = host.About();
    std::printf("about: result %d, message \"%s\"\n", about, Printable(host.OutData().return_msg).c_str());

    const PF_Err setup = host.GlobalSetup();
    const PF_OutData& out = host.OutData();
    std::printf("global set-up: result %d, version 0x%08X, out_flags 0x%X, out_flags2 0x%X\n", setup, out.my_version,
                static_cast<unsigned>(out.out_flags), static_cast<unsigned>(out.out_flags2));

    const PF_Err paramsSetup = host.ParamsSetup();
    std::printf("parameter set-up (language %s): result %d, num_params %d\n", language.c_str(), paramsSetup,
                host.OutData().num_params);
    PrintParameters(host);

    const PF_Err setdown = host.GlobalSetdown();
    std::printf("global set-down: result %d\n", setdown);
    std::printf("suites still held: %d\n", host.HeldSuites());
    return (about | setup | paramsSetup | setdown) == PF_Err_NONE ? 0 : 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "lumisk-testhost: %s\n", error.what());
    return 1;
  }
}
