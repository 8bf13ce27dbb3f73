#include "app/runtime_error.h"

#include <utility>

namespace app {

RuntimeError::RuntimeError(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

std::string RuntimeError::report() const {
  return "运行时错误 '" + std::to_string(number_) + "':\n\n" + description_;
}

RuntimeError RuntimeError::overflow() {
  return {6, "溢出"};
}
RuntimeError RuntimeError::divisionByZero() {
  return {11, "除数为零"};
}
RuntimeError RuntimeError::typeMismatch() {
  return {13, "类型不匹配"};
}
RuntimeError RuntimeError::fileNotFound(const std::string& path) {
  return {53, "文件未找到：" + path};
}
RuntimeError RuntimeError::invalidPicture(const std::string& path) {
  return {481, "图片无效：" + path};
}
RuntimeError RuntimeError::dllNotFound(const std::string& library) {
  return {48, "加载 DLL 错误：" + library};
}
RuntimeError RuntimeError::entryPointNotFound(const std::string& entry) {
  return {453, "找不到 DLL 入口点：" + entry};
}
RuntimeError RuntimeError::cannotRun(const std::string& command) {
  return {53, "文件未找到：" + command};
}
RuntimeError RuntimeError::invalidCall() {
  return {5, "无效的过程调用或参数"};
}
RuntimeError RuntimeError::internal() {
  return {51, "内部错误"};
}

}  // namespace app
