// Inside the host: the objects behind the handles it gives the module,
// and the wiring of a host's PF_InData to its services.
#pragma once

#include <cstdint>
#include <vector>

#include "host/Host.h"

// An effect reference of AEGP_GetNewEffectForEffect.
struct _AEGP_EffectRefH {
  Orvane::Lumisk::HeadlessHost::Host* host;
  bool disposed;
};

// A parameter stream of AEGP_GetNewEffectStreamByIndex.
struct _AEGP_StreamRefH {
  Orvane::Lumisk::HeadlessHost::Host* host;
  PF_ParamIndex index;
  bool disposed;
};

namespace Orvane::Lumisk::HeadlessHost {

// A memory handle of host_new_handle.
struct Host::HandleBlock {
  void* data;  // first: a PF_Handle is the address of this pointer
  std::vector<uint8_t> bytes;
  int locks = 0;
  bool disposed = false;
};

// Sets the basic suite, the interaction and the utility callbacks of host's
// PF_InData to the host's own services.
void InstallHostServices(Host& host);

}  // namespace Orvane::Lumisk::HeadlessHost
