// A minimal host for the readers: one parameter definition that check-out
// hands back, an injectable check-out error, and a record of every call.
#pragma once

#include <cstddef>
#include <cstring>
#include <vector>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk::ParamsTest {

struct CheckoutCall {
  PF_ParamIndex index;
  A_long time, step;
  A_u_long scale;
};

class FakeParamHost {
public:
  FakeParamHost() {
    std::memset(&inData, 0, sizeof inData);
    std::memset(&outData, 0, sizeof outData);
    std::memset(&stored, 0, sizeof stored);
    inData.effect_ref = reinterpret_cast<PF_ProgPtr>(this);
    inData.inter.checkout_param = &Checkout;
    inData.inter.checkin_param = &Checkin;
  }

  PF_InData inData;
  PF_OutData outData;
  PF_ParamDef stored;  // what check-out copies out
  PF_Err checkoutError = PF_Err_NONE;
  std::vector<CheckoutCall> checkouts;
  bool everyCheckoutGotClearedDef = true;
  std::vector<const PF_ParamDef*> checkedOutDefs;
  std::vector<const PF_ParamDef*> checkedInDefs;

private:
  static FakeParamHost& From(PF_ProgPtr ref) { return *reinterpret_cast<FakeParamHost*>(ref); }

  static PF_Err Checkout(PF_ProgPtr ref, PF_ParamIndex index, A_long time, A_long step, A_u_long scale,
                         PF_ParamDef* def) {
    FakeParamHost& host = From(ref);
    host.checkouts.push_back({index, time, step, scale});
    const auto* bytes = reinterpret_cast<const unsigned char*>(def);
    for (std::size_t i = 0; i < sizeof *def; ++i) host.everyCheckoutGotClearedDef &= bytes[i] == 0;
    if (host.checkoutError != PF_Err_NONE) return host.checkoutError;
    *def = host.stored;
    host.checkedOutDefs.push_back(def);
    return PF_Err_NONE;
  }

  static PF_Err Checkin(PF_ProgPtr ref, PF_ParamDef* def) {
    From(ref).checkedInDefs.push_back(def);
    return PF_Err_NONE;
  }
};

}  // namespace Orvane::Lumisk::ParamsTest
