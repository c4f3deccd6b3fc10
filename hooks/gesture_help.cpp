#include "hooks/gesture_help.h"

#include "hooks/pad_gesture.h"
#include "hooks/stroke_tracker.h"

namespace paginor::hooks {

namespace {
const char* const kFifths[] = {"", "整个", "右半", "右三分之一", "右四分之一", "右五分之一"};
}  // namespace

std::string GestureHelpText() {
  static_assert(kZoneWidthDivisor >= 1 && kZoneWidthDivisor <= 5);
  static_assert(kZoneBands == 3);
  std::string t;
  t += "键盘：在浏览器网页上按字母键翻页，输入页码后按回车跳到该页。";
  t += "按住 Ctrl、Alt 或 Windows 键时，以及在网页的输入框、地址栏、搜索框里打字时，按键不会翻页；";
  t += "按住不放的键只算一次。\n";
  t += "鼠标手势：在网页上按住右键划动（至少 " + std::to_string(kStrokeStartDistance) +
       " 像素）再松开，向左、向右、向上或向下各对应一个指令；划动时不会弹出右键菜单，";
  t += "只点右键不划动时右键菜单照常弹出。\n";
  t += "鼠标双击：在网页窗口的";
  t += kFifths[kZoneWidthDivisor];
  t += "处双击左键，上三分之一为“窗口右上区”，中间三分之一为“窗口右中区”，下三分之一为“窗口右下区”；";
  t += "网页其它位置的双击为“其它位置”。\n";
  t += "悬浮框：点按钮翻页（按钮用“键盘动作”页设置的字母），在页码框输入页码后按回车跳页，";
  t += "在手势板上按住左键划一笔（至少 " + std::to_string(kPadMinStroke) +
       " 像素）即为一个手势。悬浮框可拖到任意位置，下次打开时仍在原处，点击它不会抢走浏览器的焦点。\n";
  return t;
}

}  // namespace paginor::hooks
