#include "app/runtime_error.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace app {

namespace {

struct Known {
  int number;
  std::string_view description;
};

// Every number the program raises, with the runtime's words for it.
constexpr Known kErrors[] = {
    {5, "无效的过程调用或参数"},
    {6, "溢出"},
    {48, "加载 DLL 错误"},
    {51, "内部错误"},
    {53, "文件未找到"},
    {70, "拒绝的权限"},
    {438, "对象不支持该属性或方法"},
    {453, "找不到 DLL 入口点"},
    {481, "图片无效"},
};

std::string describe(int number, const std::string& detail) {
  const auto* known = std::find_if(std::begin(kErrors), std::end(kErrors),
                                   [number](const Known& k) { return k.number == number; });
  std::string text(known != std::end(kErrors) ? known->description : "内部错误");
  return detail.empty() ? text : text + "：" + detail;
}

}  // namespace

RuntimeError::RuntimeError(int number, const std::string& detail)
    : number_(number), description_(describe(number, detail)) {}

std::string RuntimeError::report() const {
  return "运行时错误 '" + std::to_string(number_) + "':\n\n" + description_;
}

}  // namespace app
