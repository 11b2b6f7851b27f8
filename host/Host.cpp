#include "host/Host.h"

#include <atomic>
#include <cstring>

#include "host/HostServices.h"

namespace Orvane::Lumisk::HeadlessHost {

namespace {

std::atomic<Host*> gActiveHost{nullptr};

}  // namespace

std::string DefaultModulePath() {
  return LUMISK_MODULE_PATH;
}

Host::Host(const std::string& modulePath)
    : module(std::make_unique<ModuleLoader>(modulePath)), entry(module->EntryPoint()) {
  Initialise();
}

Host::Host(PF_EntryPointFunc entryPoint) : entry(entryPoint) {
  Initialise();
}

Host::~Host() {
  // Hand "active" back to the host that had it, unless a newer one took it.
  Host* self = this;
  gActiveHost.compare_exchange_strong(self, previousActive);
}

Host* Host::Active() {
  return gActiveHost.load();
}

void Host::Initialise() {
  InstallHostServices(*this);
  inData.version_major = 13;
  inData.version_minor = 28;
  inData.current_time = 0;
  inData.time_step = 1;
  inData.local_time_step = 1;
  inData.time_scale = 30;
  inData.total_time = 300;
  inData.downsample_x = PF_RationalScale{1, 1};
  inData.downsample_y = PF_RationalScale{1, 1};
  SetInputLayer(*input);
  previousActive = gActiveHost.exchange(this);
}

int Host::HeldSuites() {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  return static_cast<int>(heldSuites.size());
}

void Host::SetInstrument(HostInstrument* watcher) {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  instrument = watcher != nullptr ? watcher : &noInstrument;
}

PF_Err Host::SendRaw(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
                     void* extra) {
  for (const auto& observer : observers) {
    observer(cmd, CommandPhase::kBefore, PF_Err_NONE);
  }
  PF_Err result = kExceptionEscaped;
  try {
    result = entry(cmd, in_data, out_data, params, output, extra);
  } catch (...) {
    result = kExceptionEscaped;
  }
  {
    std::lock_guard<std::recursive_mutex> lock(mutex);
    instrument->Answered(CommandRecord{cmd, result});
  }
  for (const auto& observer : observers) {
    observer(cmd, CommandPhase::kAfter, result);
  }
  return result;
}

PF_Err Host::Send(PF_Cmd cmd, void* extra) {
  PF_ParamDef** params = paramStore.Array(inData.current_time);
  return SendRaw(cmd, &inData, &outData, params, outputRecord, extra);
}

PF_Err Host::ParamsSetup() {
  paramStore.Clear();
  return Send(PF_Cmd_PARAMS_SETUP);
}

PF_Err Host::UserChangedParam(PF_ParamIndex changedIndex) {
  PF_UserChangedParamExtra extra{changedIndex};
  return Send(PF_Cmd_USER_CHANGED_PARAM, &extra);
}

void Host::SetTime(A_long currentTime, A_long timeStep, A_u_long timeScale) {
  inData.current_time = currentTime;
  inData.time_step = timeStep;
  inData.local_time_step = timeStep;
  inData.time_scale = timeScale;
}

void Host::SetDownsample(PF_RationalScale x, PF_RationalScale y) {
  inData.downsample_x = x;
  inData.downsample_y = y;
}

void Host::SetInputLayer(World& world) {
  input = &world;
  paramStore.SetInputLayer(world.Get());
  inData.width = world.Width();
  inData.height = world.Height();
}

void Host::SetOutput(World& world) {
  outputWorld = &world;
  outputRecord = world.Get();
}

void Host::SetLanguageTag(const std::array<A_char, PF_APP_LANG_TAG_SIZE>& tagBytes) {
  languageTag = tagBytes;
}

void Host::SetLanguageTag(const char* tag) {
  languageTag.fill('\0');
  if (tag != nullptr) {
    std::memcpy(languageTag.data(), tag, strnlen(tag, PF_APP_LANG_TAG_SIZE - 1));
  }
}

}  // namespace Orvane::Lumisk::HeadlessHost
