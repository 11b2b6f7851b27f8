// One run of the effect module as the host drives it for the render tool:
// loaded, global set-up and parameter set-up at the start, parameter values
// from the command line (with the user-changed-parameter command for the map
// type, as the host sends it), one render command per frame, global set-down
// at the end. The host's own GL context is current around every command.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "testhost/Host.h"
#include "testhost/HostGlContexts.h"
#include "testhost/tools/RgbaImage.h"
#include "testhost/tools/ToolOptions.h"

namespace Orvane::Lumisk::RenderTool {

class ModuleSession {
public:
  // Throws ToolError when the module cannot be loaded or refuses a set-up.
  ModuleSession(const std::string& modulePath, const std::string& language);
  ~ModuleSession();
  ModuleSession(const ModuleSession&) = delete;
  ModuleSession& operator=(const ModuleSession&) = delete;

  // The definitions the module added, by host index (index 0, the input layer, is null).
  std::vector<const PF_ParamDef*> Definitions() const;
  // The largest frame side the driver's textures take.
  int MaxTextureSize();

  // Sets the parameter values the options give (checked beforehand with
  // CheckSettingsAgainstParams). Points are in pixels of the full-size frame
  // and follow the downsample factor, as a host scales them.
  void Apply(const ToolOptions& options);

  // Renders one frame at time `frame` of premultiplied pictures (the map layer
  // may be null: none chosen) at 1/downsample resolution; the pictures are
  // already downsampled. The result is a straight-alpha picture.
  RgbaImage Render(const RgbaImage& input, const RgbaImage* mapLayer, int downsample, int frame);

private:
  // Declared first: destroyed last, after set-down in the destructor's body.
  std::unique_ptr<TestHost::Host> host_;
  std::unique_ptr<TestHost::HostGlContexts> glContexts_;
  // The worlds of the latest render: the host holds pointers to them until the
  // next render replaces them, so they live as long as the host.
  std::unique_ptr<TestHost::World> input_;
  std::unique_ptr<TestHost::World> output_;
  std::unique_ptr<TestHost::World> mapLayer_;
  bool setUp_ = false;
};

}  // namespace Orvane::Lumisk::RenderTool
