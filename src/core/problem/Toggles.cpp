#include "core/problem/Toggles.h"

namespace vesk::core {

bool SetUsevj(Problem& p, bool down) {
  const bool changed = p.UsevjDown != down || (!down && p.UseujDown);
  p.UsevjDown = down;
  if (!down) p.UseujDown = false;
  if (changed) p.ResetResults();
  return changed;
}

bool SetUseuj(Problem& p, bool down) {
  if (!UseujEnabled(p) || p.UseujDown == down) return false;
  p.UseujDown = down;
  p.ResetResults();
  return true;
}

}  // namespace vesk::core
