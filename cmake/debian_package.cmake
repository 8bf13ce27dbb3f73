# The Linux program as a Debian package: `cmake --build --preset linux
# --target package` writes tavimo-shutdown_<version>_<arch>.deb with what
# the install rules put under /usr. Dependencies come from the binary.

# A native package carries its changelog and manual page compressed,
# reproducibly.
foreach(doc changelog tavimo-shutdown.1)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${doc}.gz
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/resources/linux/${doc} > ${doc}.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/linux/${doc}
    VERBATIM)
endforeach()
add_custom_target(tavimo_compressed_docs ALL
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz ${CMAKE_CURRENT_BINARY_DIR}/tavimo-shutdown.1.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
  ${PROJECT_SOURCE_DIR}/resources/linux/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavimo-shutdown)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tavimo-shutdown.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavimo-shutdown)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER
  "Tavimo maintainers <maintainers@users.noreply.c-seed-5b9cdd54.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows speak Chinese, the forum page opens in the desktop's browser
# and on a Wayland session Qt runs natively with its Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk, xdg-utils, qt6-wayland")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shutdown timer for the desktop / 定时关机工具")
# CPack puts the summary first, as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tavimo shuts the computer down or restarts it at a chosen time: six quick
buttons schedule a shutdown after a fixed delay, one cancels it, and a
countdown in seconds ends in a shutdown or a restart. The shutdown is
scheduled through systemd-logind, which may ask for a password.
.
Tavimo 关机工具：六个快捷按钮在固定时间后关机，一个按钮取消关机，
自定义倒计时（秒）结束时关机或重启。关机由 systemd-logind 安排，
必要时会要求输入密码。界面为简体中文。")
# Reproducible: every file in the package dated by the last commit.
set(source_date $ENV{SOURCE_DATE_EPOCH})
if(NOT source_date)
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE source_date OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(source_date)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/cpack_dates.cmake
       "set(ENV{SOURCE_DATE_EPOCH} ${source_date})\n")
  set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/cpack_dates.cmake)
endif()
include(CPack)
