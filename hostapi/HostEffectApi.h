// Our own declarations of the compositing host's effect API, under the host's
// published names. Only what this effect uses is declared. Fixed-width types
// throughout: the real target is LLP64, so nothing here may depend on `long`.
// A Windows build against the host's own SDK replaces this folder.
#pragma once

#include <cstdint>

extern "C" {

using A_char = char;
using A_u_char = uint8_t;
using A_short = int16_t;
using A_u_short = uint16_t;
using A_long = int32_t;
using A_u_long = uint32_t;
using A_Boolean = uint8_t;
using A_Err = int32_t;
using A_FpLong = double;
using A_FpShort = float;
using A_HandleSize = uint64_t;

using PF_Err = int32_t;
using PF_Fixed = int32_t;
using PF_ParamIndex = int32_t;
using PF_ParamValue = int32_t;
using PF_ParamType = int32_t;
using PF_ParamFlags = int32_t;
using PF_ParamUIFlags = int32_t;
using PF_ValueDisplayFlags = int16_t;
using PF_Boolean = uint8_t;
using SPErr = int32_t;

// Opaque host handles.
struct PF_ProgressInfo;
using PF_ProgPtr = PF_ProgressInfo*;
using PF_Handle = void**;
struct _AEGP_EffectRefH;
using AEGP_EffectRefH = _AEGP_EffectRefH*;
struct _AEGP_StreamRefH;
using AEGP_StreamRefH = _AEGP_StreamRefH*;
using AEGP_PluginID = int32_t;
using AEGP_DynStreamFlags = int32_t;

// ---------------------------------------------------------------- errors
enum : int32_t {
  PF_Err_NONE = 0,
  PF_Err_OUT_OF_MEMORY = 4,
  PF_Err_INTERNAL_STRUCT_DAMAGED = 512,
  PF_Err_INVALID_INDEX = 513,
  PF_Err_UNRECOGNIZED_PARAM_TYPE = 514,
  PF_Err_INVALID_CALLBACK = 515,
  PF_Err_BAD_CALLBACK_PARAM = 516,
};
enum : int32_t {
  A_Err_NONE = 0,
  A_Err_GENERIC = 1,
  A_Err_MISSING_SUITE = 13,
};

// ---------------------------------------------------------------- commands
enum : int32_t {
  PF_Cmd_ABOUT = 0,
  PF_Cmd_GLOBAL_SETUP = 1,
  PF_Cmd_UNUSED_0 = 2,
  PF_Cmd_GLOBAL_SETDOWN = 3,
  PF_Cmd_PARAMS_SETUP = 4,
  PF_Cmd_SEQUENCE_SETUP = 5,
  PF_Cmd_SEQUENCE_RESETUP = 6,
  PF_Cmd_SEQUENCE_FLATTEN = 7,
  PF_Cmd_SEQUENCE_SETDOWN = 8,
  PF_Cmd_DO_DIALOG = 9,
  PF_Cmd_FRAME_SETUP = 10,
  PF_Cmd_RENDER = 11,
  PF_Cmd_FRAME_SETDOWN = 12,
  PF_Cmd_USER_CHANGED_PARAM = 13,
  PF_Cmd_UPDATE_PARAMS_UI = 14,
};
using PF_Cmd = int32_t;

// ---------------------------------------------------------------- parameter types and flags
enum : int32_t {
  PF_Param_LAYER = 0,
  PF_Param_SLIDER = 1,
  PF_Param_FIX_SLIDER = 2,
  PF_Param_ANGLE = 3,
  PF_Param_CHECKBOX = 4,
  PF_Param_COLOR = 5,
  PF_Param_POINT = 6,
  PF_Param_POPUP = 7,
  PF_Param_FLOAT_SLIDER = 10,
  PF_Param_GROUP_START = 13,
  PF_Param_GROUP_END = 14,
};

enum : int32_t {
  PF_ParamFlag_CANNOT_TIME_VARY = 0x2,
  PF_ParamFlag_COLLAPSE_TWIRLY = 0x20,
  PF_ParamFlag_SUPERVISE = 0x40,
};

enum : int32_t {
  PF_PUI_INVISIBLE = 0x200,
};

enum : int16_t {
  PF_ValueDisplayFlag_NONE = 0,
  PF_ValueDisplayFlag_PERCENT = 1,
};

enum : int32_t {
  PF_LayerDefault_MYSELF = -1,
  PF_LayerDefault_NONE = 0,
};

enum : int32_t {
  PF_OutFlag_NONE = 0,
  PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG = 8,
};

enum : int32_t {
  AEGP_DynStreamFlag_ACTIVE_EYEBALL = 1,
  AEGP_DynStreamFlag_HIDDEN = 2,
};

enum : int32_t {
  PF_MAX_EFFECT_MSG_LEN = 255,
  PF_MAX_EFFECT_NAME_LEN = 31,
  PF_MAX_PARAM_NAME_LEN = 31,
  PF_MAX_PARAM_DESCRIPTION_LEN = 31,
  PF_MAX_PARAM_VALUE_LEN = 31,
  PF_APP_LANG_TAG_SIZE = 6,
};

// ---------------------------------------------------------------- pixels and worlds
struct PF_Pixel8 {
  A_u_char alpha, red, green, blue;
};
struct PF_Pixel16 {
  A_u_short alpha, red, green, blue;
};
struct PF_PixelFloat {
  A_FpShort alpha, red, green, blue;
};
using PF_Pixel = PF_Pixel8;
using PF_PixelPtr = PF_Pixel8*;

struct PF_Rect {
  A_long left, top, right, bottom;
};
struct PF_RationalScale {
  A_long num;
  A_u_long den;
};

// The host's image of a layer or of the output.
struct PF_EffectWorld {
  A_long reserved0;
  A_long reserved1;
  A_long world_flags;
  PF_PixelPtr data;  // first pixel of the first row; null when no layer is chosen
  A_long rowbytes;   // bytes from one row to the next (may exceed width * pixel size)
  A_long width;
  A_long height;
  PF_Rect extent_hint;
  void* platform_ref;
  A_long reserved_long1;
  void* reserved_long4;
  PF_RationalScale pix_aspect_ratio;
  void* reserved_long2;
  A_long origin_x;
  A_long origin_y;
  A_long reserved_long3;
  A_long dephault;  // PF_LayerDefault_* for a layer parameter
};
using PF_LayerDef = PF_EffectWorld;

// ---------------------------------------------------------------- parameter definitions
struct PF_SliderDef {
  PF_ParamValue value;
  A_char value_str[PF_MAX_PARAM_VALUE_LEN + 1];
  A_char value_desc[PF_MAX_PARAM_DESCRIPTION_LEN + 1];
  PF_ParamValue valid_min, valid_max;
  PF_ParamValue slider_min, slider_max;
  PF_ParamValue dephault;
};

struct PF_FixedSliderDef {
  PF_Fixed value;
  A_char value_str[PF_MAX_PARAM_VALUE_LEN + 1];
  A_char value_desc[PF_MAX_PARAM_DESCRIPTION_LEN + 1];
  PF_Fixed valid_min, valid_max;
  PF_Fixed slider_min, slider_max;
  PF_Fixed dephault;
  A_short precision;
  PF_ValueDisplayFlags display_flags;
};

struct PF_FloatSliderDef {
  A_FpLong value;
  A_FpLong phase;
  A_char value_desc[PF_MAX_PARAM_DESCRIPTION_LEN + 1];
  A_FpShort valid_min, valid_max;
  A_FpShort slider_min, slider_max;
  A_FpShort dephault;
  A_short precision;
  PF_ValueDisplayFlags display_flags;
  A_u_long fs_flags;
  A_FpShort curve_tolerance;
  PF_Boolean useExponent;
  A_FpShort exponent;
};

struct PF_AngleDef {
  PF_Fixed value;  // degrees, 16.16
  PF_Fixed dephault;
  PF_Fixed valid_min, valid_max;
};

struct PF_CheckBoxDef {
  PF_ParamValue value;
  PF_Boolean dephault;
  A_char reserved;
  A_short reserved1;
  union {
    const A_char* nameptr;  // the label shown beside the box
  } u;
};

struct PF_PointDef {
  PF_Fixed x_value;  // layer pixels at check-out, percent of the layer in the definition
  PF_Fixed y_value;
  A_char reserved[3];
  PF_Boolean restrict_bounds;
  PF_Fixed x_dephault;
  PF_Fixed y_dephault;
};

struct PF_PopupDef {
  PF_ParamValue value;  // 1-based choice
  A_short num_choices;
  A_short dephault;
  union {
    const A_char* namesptr;  // items separated by '|'
  } u;
};

union PF_ParamDefUnion {
  PF_LayerDef ld;
  PF_SliderDef sd;
  PF_FixedSliderDef fd;
  PF_AngleDef ad;
  PF_CheckBoxDef bd;
  PF_PointDef td;
  PF_PopupDef pd;
  PF_FloatSliderDef fs_d;
};

struct PF_ParamDef {
  union {
    A_long id;  // disk ID, stored by the host in its projects
    A_long change_flags;
  } uu;
  PF_ParamUIFlags ui_flags;
  A_short ui_width;
  A_short ui_height;
  PF_ParamType param_type;
  A_char name[PF_MAX_PARAM_NAME_LEN + 1];
  PF_ParamFlags flags;
  A_long unused;
  PF_ParamDefUnion u;
};
using PF_ParamDefPtr = PF_ParamDef*;
using PF_ParamList = PF_ParamDef**;

// ---------------------------------------------------------------- callbacks of PF_InData
struct PF_InteractCallbacks {
  PF_Err (*checkout_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time, A_long time_step,
                           A_u_long time_scale, PF_ParamDef* param);
  PF_Err (*checkin_param)(PF_ProgPtr effect_ref, PF_ParamDef* param);
  PF_Err (*add_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def);
};

struct PF_ANSICallbacks {
  A_char* (*strcpy)(A_char* dest, const A_char* src);
};

struct PF_UtilCallbacks {
  PF_ANSICallbacks ansi;
  PF_Err (*get_pixel_data8)(PF_EffectWorld* worldP, PF_PixelPtr pixelsP0, PF_Pixel8** pixPP);
  PF_Err (*get_pixel_data16)(PF_EffectWorld* worldP, PF_PixelPtr pixelsP0, PF_Pixel16** pixPP);
};

// ---------------------------------------------------------------- basic suite
struct SPBasicSuite {
  SPErr (*AcquireSuite)(const char* name, int32_t version, const void** suite);
  SPErr (*ReleaseSuite)(const char* name, int32_t version);
};

// ---------------------------------------------------------------- command records
struct PF_InData {
  PF_InteractCallbacks inter;
  PF_UtilCallbacks* utils;
  PF_ProgPtr effect_ref;
  A_long version_major;
  A_long version_minor;
  A_long current_time;
  A_long time_step;
  A_long total_time;
  A_long local_time_step;
  A_u_long time_scale;
  A_long width;
  A_long height;
  PF_RationalScale downsample_x;
  PF_RationalScale downsample_y;
  SPBasicSuite* pica_basicP;
};

struct PF_OutData {
  A_u_long my_version;
  A_char name[PF_MAX_EFFECT_NAME_LEN + 1];
  A_long num_params;
  A_long out_flags;
  A_long out_flags2;
  A_char return_msg[PF_MAX_EFFECT_MSG_LEN + 1];
};

struct PF_UserChangedParamExtra {
  PF_ParamIndex param_index;
};

// The module's one entry point.
using PF_EntryPointFunc = PF_Err (*)(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                                     PF_LayerDef* output, void* extra);

}  // extern "C"
