#include "tests/params/ParamsGolden.h"

#include <cstdint>

namespace Orvane::Lumisk::ParamsTest {
namespace {

float FloatFromBits(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

PF_ParamDef Base(A_long diskId, PF_ParamType type, PF_ParamUIFlags uiFlags, PF_ParamFlags flags) {
  PF_ParamDef def;
  std::memset(&def, 0, sizeof def);
  def.uu.id = diskId;
  def.param_type = type;
  def.ui_flags = uiFlags;
  def.flags = flags;
  return def;
}

PF_ParamDef Popup(A_long diskId, PF_ParamFlags flags, A_short choices, A_short dephault) {
  PF_ParamDef def = Base(diskId, 7, 0, flags);
  def.u.pd.num_choices = choices;
  def.u.pd.dephault = dephault;
  def.u.pd.value = dephault;
  return def;
}

PF_ParamDef IntSlider(A_long diskId, PF_ParamUIFlags uiFlags, PF_ParamValue validMax, PF_ParamValue sliderMax,
                      PF_ParamValue dephault) {
  PF_ParamDef def = Base(diskId, 1, uiFlags, 0);
  def.u.sd.valid_min = 0;
  def.u.sd.valid_max = validMax;
  def.u.sd.slider_min = 0;
  def.u.sd.slider_max = sliderMax;
  def.u.sd.dephault = dephault;
  def.u.sd.value = dephault;
  return def;
}

PF_ParamDef ScaleSlider(A_long diskId) {
  PF_ParamDef def = Base(diskId, 10, 0x200, 0);
  def.u.fs_d.valid_min = 0.0f;
  def.u.fs_d.valid_max = 5000.0f;
  def.u.fs_d.slider_min = 0.0f;
  def.u.fs_d.slider_max = 500.0f;
  def.u.fs_d.value = 100.0;
  def.u.fs_d.dephault = 100.0f;
  def.u.fs_d.precision = 0;
  def.u.fs_d.display_flags = 1;
  def.u.fs_d.curve_tolerance = FloatFromBits(0x3D4CCCCD);
  return def;
}

}  // namespace

std::vector<GoldenParam> GoldenParams() {
  std::vector<GoldenParam> golden;

  golden.push_back({Popup(1, 0, 3, 2), "Lens Shape", "透镜形状", "Circular|Hexagon|Pentagon", "圆形|六边形|五边形"});

  golden.push_back({IntSlider(2, 0, 400, 20, 20), "Blur Strength", "模糊强度", nullptr, nullptr});

  golden.push_back({Base(5, 13, 0, 0), "Blur Map", "模糊映射图", nullptr, nullptr});

  // "Show" carries its text as the checkbox label and has an empty name.
  golden.push_back({Base(6, 4, 0, 0x42), "", "", "Show", "显示"});

  golden.push_back({Popup(7, 0x40, 6, 1), "Type", "类型",
                    "None|Linear 2 colors|Linear 3 colors|Circle|Square|Custom Layer",
                    "无|线性2色|线性3色|圆形|方形|自定义图层"});

  golden.push_back({Base(8, 0, 0x200, 0), "Custom Layer", "自定义图层", nullptr, nullptr});

  golden.push_back({IntSlider(9, 0x200, 1000, 500, 250), "Feather", "羽化", nullptr, nullptr});

  PF_ParamDef center = Base(10, 6, 0x200, 0);
  center.u.td.x_value = 0x00320000;
  center.u.td.y_value = 0x00320000;
  center.u.td.x_dephault = 0x00320000;
  center.u.td.y_dephault = 0x00320000;
  golden.push_back({center, "Center", "中心", nullptr, nullptr});

  golden.push_back({ScaleSlider(11), "Scale X", "X轴缩放", nullptr, nullptr});
  golden.push_back({ScaleSlider(12), "Scale Y", "Y轴缩放", nullptr, nullptr});

  golden.push_back({Base(13, 3, 0x200, 0x20), "Rotation", "旋转", nullptr, nullptr});

  PF_ParamDef focal = Base(14, 2, 0x200, 0);
  focal.u.fd.valid_min = 0;
  focal.u.fd.valid_max = 0x00640000;
  focal.u.fd.slider_min = 0;
  focal.u.fd.slider_max = 0x00640000;
  focal.u.fd.dephault = 0;
  focal.u.fd.value = 0;
  focal.u.fd.precision = 1;
  focal.u.fd.display_flags = 1;
  golden.push_back({focal, "Blur Focal Distance", "模糊焦距", nullptr, nullptr});

  // "Invert" has its name and an empty label.
  golden.push_back({Base(15, 4, 0x200, 0x40), "Invert", "反转", "", ""});

  golden.push_back({Base(16, 14, 0, 0), nullptr, nullptr, nullptr, nullptr});

  golden.push_back({Popup(3, 0, 2, 2), "Quality", "质量", "High->Slow|Low->Fast", "高质量（渲染慢）|低质量（渲染快）"});

  PF_ParamDef gamma = Base(4, 10, 0x200, 0);
  gamma.u.fs_d.valid_min = 1.0f;
  gamma.u.fs_d.valid_max = 4.0f;
  gamma.u.fs_d.slider_min = 1.0f;
  gamma.u.fs_d.slider_max = 4.0f;
  gamma.u.fs_d.value = 2.2;
  gamma.u.fs_d.dephault = FloatFromBits(0x400CCCCD);
  gamma.u.fs_d.precision = 1;
  gamma.u.fs_d.display_flags = 0;
  gamma.u.fs_d.curve_tolerance = FloatFromBits(0x3D4CCCCD);
  golden.push_back({gamma, "Gamma", "伽马值", nullptr, nullptr});

  return golden;
}

}  // namespace Orvane::Lumisk::ParamsTest
