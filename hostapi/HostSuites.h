// Our own declarations of the host suites this effect acquires through the
// basic suite, by the host's published names and versions. Each record lists
// only the functions the effect calls.
#pragma once

#include "hostapi/HostEffectApi.h"

extern "C" {

#define kPFANSISuite "PF ANSI Suite"
#define kPFANSISuiteVersion1 1
struct PF_ANSICallbacksSuite1 {
  A_long (*sprintf)(A_char* buffer, const A_char* format, ...);
};

#define kPFAppSuite "PF AE App Suite"
#define kPFAppSuiteVersion7 7
struct PF_AppSuite7 {
  PF_Err (*PF_AppGetLanguage)(A_char lang_tagZ[PF_APP_LANG_TAG_SIZE]);
};

#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1
struct AEGP_PFInterfaceSuite1 {
  A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID aegp_plugin_id, PF_ProgPtr effect_ref, AEGP_EffectRefH* effectPH);
};

#define kAEGPEffectSuite "AEGP Effect Suite"
#define kAEGPEffectSuiteVersion2 2
struct AEGP_EffectSuite2 {
  A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effectH);
};

#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion7 7
struct AEGP_StreamSuite7 {
  A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID aegp_plugin_id, AEGP_EffectRefH effectH,
                                          PF_ParamIndex param_index, AEGP_StreamRefH* streamPH);
  A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
};

#define kAEGPDynamicStreamSuite "AEGP Dynamic Stream Suite"
#define kAEGPDynamicStreamSuiteVersion2 2
struct AEGP_DynamicStreamSuite2 {
  A_Err (*AEGP_GetDynamicStreamFlags)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags* flagsP);
  A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag, A_Boolean undoableB,
                                     A_Boolean setB);
};

#define kPFParamUtilsSuite "PF Param Utils Suite"
#define kPFParamUtilsSuiteVersion3 3
struct PF_ParamUtilsSuite3 {
  PF_Err (*PF_UpdateParamUI)(PF_ProgPtr effect_ref, PF_ParamIndex param_index, const PF_ParamDef* defP);
};

#define kPFHandleSuite "PF Handle Suite"
#define kPFHandleSuiteVersion2 2
struct PF_HandleSuite2 {
  PF_Handle (*host_new_handle)(A_HandleSize size);
  void* (*host_lock_handle)(PF_Handle pf_handle);
  void (*host_unlock_handle)(PF_Handle pf_handle);
  void (*host_dispose_handle)(PF_Handle pf_handle);
};

#define kPFIterateFloatSuite "PF iterateFloat Suite"
#define kPFIterateFloatSuiteVersion1 1
using PF_IteratePixelFloatFunc = PF_Err (*)(void* refcon, A_long x, A_long y, PF_PixelFloat* in, PF_PixelFloat* out);
struct PF_iterateFloatSuite1 {
  PF_Err (*iterate)(PF_InData* in_data, A_long progress_base, A_long progress_final, PF_EffectWorld* src,
                    const PF_Rect* area, void* refcon, PF_IteratePixelFloatFunc pix_fn, PF_EffectWorld* dst);
};

}  // extern "C"
