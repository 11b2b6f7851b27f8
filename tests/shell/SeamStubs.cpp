#include "SeamStubs.h"

#include "effect/ParamVisibility.h"
#include "effect/ParamsSetup.h"
#include "effect/RenderCommand.h"

namespace Orvane::Lumisk::Testing {

SeamStubs& Seams() {
  static SeamStubs seams;
  return seams;
}

namespace {

void Note(SeamCall& call, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef** params, PF_LayerDef* output,
          void* extra) {
  ++call.count;
  call.in_data = in_data;
  call.out_data = out_data;
  call.params = params;
  call.output = output;
  call.extra = extra;
}

void Run(const std::function<void()>& action) {
  if (action) {
    action();
  }
}

}  // namespace

}  // namespace Orvane::Lumisk::Testing

namespace Orvane::Lumisk {

using Testing::Seams;

void GlSetup() {
  Testing::Note(Seams().glSetup, nullptr, nullptr, nullptr, nullptr, nullptr);
  Testing::Run(Seams().onGlSetup);
}

void GlSetdown() {
  Testing::Note(Seams().glSetdown, nullptr, nullptr, nullptr, nullptr, nullptr);
  Testing::Run(Seams().onGlSetdown);
}

void RenderCommand(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output) {
  Testing::Note(Seams().render, in_data, out_data, params, output, nullptr);
  Testing::Run(Seams().onRender);
}

PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output) {
  Testing::Note(Seams().paramsSetup, in_data, out_data, params, output, nullptr);
  Testing::Run(Seams().onParamsSetup);
  return Seams().paramsSetupResult;
}

PF_Err UserChangedParam(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], void* extra) {
  Testing::Note(Seams().userChangedParam, in_data, out_data, params, nullptr, extra);
  return Seams().userChangedParamResult;
}

PF_Err UpdateParamsUI(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output) {
  Testing::Note(Seams().updateParamsUI, in_data, out_data, params, output, nullptr);
  return Seams().updateParamsUIResult;
}

}  // namespace Orvane::Lumisk
