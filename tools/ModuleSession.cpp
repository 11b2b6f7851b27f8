#include "tools/ModuleSession.h"

#include <cmath>
#include <stdexcept>

#include "tools/FrameConversion.h"
#include "tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

constexpr PF_ParamIndex kMapTypeIndex = 5;
constexpr PF_ParamIndex kCustomLayerIndex = 6;
// Frames are numbered in whole time steps of a 24-per-second time base.
constexpr A_u_long kTimeScale = 24;

PF_Fixed ToFixed(double value) {
  return PF_Fixed(std::lround(value * 65536.0));
}

void Check(PF_Err result, const char* what) {
  if (result != PF_Err_NONE)
    throw ToolError(std::string("the module's ") + what + " failed (error " + std::to_string(result) + ")");
}

}  // namespace

ModuleSession::ModuleSession(const std::string& modulePath, const std::string& language, Use use) {
  try {
    host = std::make_unique<HeadlessHost::Host>(modulePath);
    if (use == Use::Render) glContexts = std::make_unique<HeadlessHost::HostGlContexts>(*host);
  } catch (const std::runtime_error& error) {
    throw ToolError(std::string("cannot load the effect module: ") + error.what());
  }
  host->SetLanguageTag(language.c_str());
  if (use == Use::DefinitionsOnly) {
    // The parameter set-up makes no GL call; the global set-up makes the
    // module's GL contexts. Without a global set-up the names are English.
    Check(host->ParamsSetup(), "parameter set-up");
    return;
  }
  Check(host->GlobalSetup(), "global set-up");
  setUp = true;
  try {
    Check(host->ParamsSetup(), "parameter set-up");
  } catch (...) {
    // The destructor does not run for a constructor that throws; the module
    // still gets its set-down, as the host sends it, to release its GL contexts.
    host->GlobalSetdown();
    throw;
  }
}

ModuleSession::~ModuleSession() {
  if (setUp) host->GlobalSetdown();
}

std::vector<const PF_ParamDef*> ModuleSession::Definitions() const {
  std::vector<const PF_ParamDef*> definitions(size_t(host->Params().Count()), nullptr);
  for (PF_ParamIndex i = 1; i < host->Params().Count(); ++i) definitions[size_t(i)] = &host->Params().Definition(i);
  return definitions;
}

int ModuleSession::MaxTextureSize() {
  return glContexts->ForThisThread().MaxTextureSize();
}

void ModuleSession::Apply(const ToolOptions& options) {
  HeadlessHost::ParameterStore& params = host->Params();
  for (const ParamSetting& setting : options.settings) {
    const PF_ParamIndex index = setting.paramIndex;
    switch (setting.kind) {
      case ValueKind::Choice:
        params.SetPopup(index, PF_ParamValue(setting.value));
        break;
      case ValueKind::Integer:
        params.SetSlider(index, PF_ParamValue(setting.value));
        break;
      case ValueKind::Flag:
        params.SetCheckbox(index, true);
        break;
      case ValueKind::Point: {
        const double scale = 1.0 / options.downsample;
        params.SetPoint(index, ToFixed(setting.value * scale), ToFixed(setting.y * scale));
        break;
      }
      case ValueKind::Number: {
        const PF_ParamType type = params.Definition(index).param_type;
        if (type == PF_Param_FLOAT_SLIDER)
          params.SetFloatSlider(index, setting.value);
        else if (type == PF_Param_FIX_SLIDER)
          params.SetFixedSlider(index, ToFixed(setting.value));
        else if (type == PF_Param_ANGLE)
          params.SetAngle(index, ToFixed(setting.value));
        else
          params.SetSlider(index, PF_ParamValue(std::lround(setting.value)));
        break;
      }
    }
  }
  if (FindSetting(options, kMapTypeIndex))
    Check(host->UserChangedParam(kMapTypeIndex), "user-changed-parameter command");
}

void ModuleSession::SetPictures(const RgbaImage& input, const RgbaImage* mapLayer) {
  auto makeWorld = [](const RgbaImage& picture) {
    auto world = std::make_unique<HeadlessHost::World>(HeadlessHost::World::Make8(picture.width, picture.height));
    CopyToWorld(picture, *world->Get());
    return world;
  };
  auto inputWorld = makeWorld(input);
  auto outputWorld = std::make_unique<HeadlessHost::World>(HeadlessHost::World::Make8(input.width, input.height));
  auto mapWorld = mapLayer ? makeWorld(*mapLayer) : nullptr;
  host->Params().SetLayer(kCustomLayerIndex, mapWorld ? mapWorld->Get() : nullptr);
  host->SetInputLayer(*inputWorld);
  host->SetOutput(*outputWorld);
  inputLayer = std::move(inputWorld);
  output = std::move(outputWorld);
  mapLayerWorld = std::move(mapWorld);
  inputHasAlpha = input.hasAlpha;
}

void ModuleSession::Render(int downsample, int frame) {
  host->SetDownsample(PF_RationalScale{1, A_u_long(downsample)}, PF_RationalScale{1, A_u_long(downsample)});
  host->SetTime(frame, 1, kTimeScale);
  const PF_Err result = host->Render();
  if (glContexts->NotRestoredCount() != 0)
    throw ToolError("the module did not make the host's GL context current again");
  Check(result, "render");
}

RgbaImage ModuleSession::Output() const {
  return CopyFromWorld(*output->Get(), inputHasAlpha);
}

}  // namespace Orvane::Lumisk::RenderTool
