// One run of the effect module as the host drives it for the render tool:
// loaded, global set-up and parameter set-up at the start, parameter values
// from the command line (with the user-changed-parameter command for the map
// type, as the host sends it), one render command per frame (its pictures
// handed over, the command, its output read back), global set-down
// at the end. The host's own GL context is current around every command.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/HostGlContexts.h"
#include "tools/RgbaImage.h"
#include "tools/ToolOptions.h"

namespace Orvane::Lumisk::RenderTool {

class ModuleSession {
public:
  // Render: the whole session. DefinitionsOnly: the parameter set-up alone,
  // for --help; no GL context is made and nothing but Definitions() may be asked.
  enum class Use { Render, DefinitionsOnly };

  // Throws ToolError when the module cannot be loaded or refuses a set-up.
  ModuleSession(const std::string& modulePath, const std::string& language, Use use = Use::Render);
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

  // Hands the host the premultiplied pictures of the next render, already
  // downsampled (the map layer may be null: none chosen).
  void SetPictures(const RgbaImage& input, const RgbaImage* mapLayer);
  // Sends one render command at time `frame` at 1/downsample resolution.
  void Render(int downsample, int frame);
  // The output of the latest render as a straight-alpha picture, with an
  // alpha channel when the input had one.
  RgbaImage Output() const;

private:
  // Declared first: destroyed last, after set-down in the destructor's body.
  std::unique_ptr<HeadlessHost::Host> host;
  std::unique_ptr<HeadlessHost::HostGlContexts> glContexts;
  // The worlds of the latest render: the host holds pointers to them until the
  // next render replaces them, so they live as long as the host.
  std::unique_ptr<HeadlessHost::World> inputLayer;
  std::unique_ptr<HeadlessHost::World> output;
  std::unique_ptr<HeadlessHost::World> mapLayerWorld;
  bool inputHasAlpha = false;
  bool setUp = false;
};

}  // namespace Orvane::Lumisk::RenderTool
