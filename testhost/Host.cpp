#include "testhost/Host.h"

#include "testhost/HostServices.h"

#include <atomic>
#include <cstring>

namespace Orvane::Lumisk::TestHost {

namespace {

std::atomic<Host*> gActiveHost{nullptr};

constexpr A_long kDefaultSize = 32;

}  // namespace

std::string DefaultModulePath() { return LUMISK_MODULE_PATH; }

Host::Host(const std::string& modulePath)
    : module_(std::make_unique<ModuleLoader>(modulePath)),
      entry_(module_->EntryPoint()),
      ownInput_(World::Make8(kDefaultSize, kDefaultSize)),
      ownOutput_(World::Make8(kDefaultSize, kDefaultSize)),
      input_(&ownInput_),
      output_(&ownOutput_),
      outputRecord_(ownOutput_.Get()) {
  Initialise();
}

Host::Host(PF_EntryPointFunc entryPoint)
    : entry_(entryPoint),
      ownInput_(World::Make8(kDefaultSize, kDefaultSize)),
      ownOutput_(World::Make8(kDefaultSize, kDefaultSize)),
      input_(&ownInput_),
      output_(&ownOutput_),
      outputRecord_(ownOutput_.Get()) {
  Initialise();
}

Host::~Host() {
  // Hand "active" back to the host that had it, unless a newer one took it.
  Host* self = this;
  gActiveHost.compare_exchange_strong(self, previousActive_);
}

Host* Host::Active() { return gActiveHost.load(); }

void Host::Initialise() {
  InstallHostServices(*this);
  inData_.version_major = 13;
  inData_.version_minor = 28;
  inData_.current_time = 0;
  inData_.time_step = 1;
  inData_.local_time_step = 1;
  inData_.time_scale = 30;
  inData_.total_time = 300;
  inData_.downsample_x = PF_RationalScale{1, 1};
  inData_.downsample_y = PF_RationalScale{1, 1};
  SetInputLayer(*input_);
  previousActive_ = gActiveHost.exchange(this);
}

void Host::Record(const std::string& call) { records_.calls.push_back(call); }

PF_Err Host::SendRaw(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                     PF_LayerDef* output, void* extra) {
  for (const auto& observer : observers_) {
    observer(cmd, CommandPhase::kBefore, PF_Err_NONE);
  }
  PF_Err result = kExceptionEscaped;
  try {
    result = entry_(cmd, in_data, out_data, params, output, extra);
  } catch (...) {
    result = kExceptionEscaped;
  }
  {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    records_.commands.push_back(CommandRecord{cmd, result});
  }
  for (const auto& observer : observers_) {
    observer(cmd, CommandPhase::kAfter, result);
  }
  return result;
}

PF_Err Host::Send(PF_Cmd cmd, void* extra) {
  PF_ParamDef** params = params_.Array(inData_.current_time);
  return SendRaw(cmd, &inData_, &outData_, params, outputRecord_, extra);
}

PF_Err Host::ParamsSetup() {
  params_.Clear();
  records_.addParamCalls = 0;
  return Send(PF_Cmd_PARAMS_SETUP);
}

PF_Err Host::UserChangedParam(PF_ParamIndex changedIndex) {
  PF_UserChangedParamExtra extra{changedIndex};
  return Send(PF_Cmd_USER_CHANGED_PARAM, &extra);
}

void Host::SetTime(A_long currentTime, A_long timeStep, A_u_long timeScale) {
  inData_.current_time = currentTime;
  inData_.time_step = timeStep;
  inData_.local_time_step = timeStep;
  inData_.time_scale = timeScale;
}

void Host::SetDownsample(PF_RationalScale x, PF_RationalScale y) {
  inData_.downsample_x = x;
  inData_.downsample_y = y;
}

void Host::SetInputLayer(World& world) {
  input_ = &world;
  params_.SetInputLayer(world.Get());
  inData_.width = world.Width();
  inData_.height = world.Height();
}

void Host::SetOutput(World& world) {
  output_ = &world;
  outputRecord_ = world.Get();
}

void Host::SetLanguageTag(const std::array<A_char, PF_APP_LANG_TAG_SIZE>& tagBytes) { languageTag_ = tagBytes; }

void Host::SetLanguageTag(const char* tag) {
  languageTag_.fill('\0');
  if (tag != nullptr) {
    std::memcpy(languageTag_.data(), tag, strnlen(tag, PF_APP_LANG_TAG_SIZE - 1));
  }
}

}  // namespace Orvane::Lumisk::TestHost
