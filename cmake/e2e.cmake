# End-to-end tests: shell scripts under tests/e2e that drive the Windows builds under Wine on a
# private Xvfb display. Scripts taking an architecture run once per architecture.
set(KV_E2E_DIR ${CMAKE_SOURCE_DIR}/tests/e2e)

function(kv_e2e name script)
  add_test(NAME ${name} COMMAND bash ${KV_E2E_DIR}/${script} ${ARGN})
  set_tests_properties(${name} PROPERTIES LABELS e2e TIMEOUT 300)
endfunction()

# e2e.<name>.win32 and e2e.<name>.win64 running <name>_e2e.sh with the architecture.
function(kv_e2e_per_arch name)
  foreach(arch win32 win64)
    kv_e2e(e2e.${name}.${arch} ${name}_e2e.sh ${arch})
  endforeach()
endfunction()

kv_e2e(e2e.artifacts artifacts_e2e.sh)
kv_e2e_per_arch(ui_runtime)
kv_e2e_per_arch(program)
kv_e2e_per_arch(accessibility)
kv_e2e_per_arch(services)
kv_e2e(e2e.services.wow64 services_e2e.sh wow64)
kv_e2e(e2e.refusal.wow64 refusal_e2e.sh)
foreach(name fatal_error usage_lists console_helper catalogue recent_documents settings menu)
  kv_e2e_per_arch(${name})
endforeach()
foreach(mode win32 win64 wow64)
  kv_e2e(e2e.release.${mode} release_e2e.sh ${mode})
  # Each run remakes out/dist (and may take the help's screenshots first): one at a time.
  set_tests_properties(e2e.release.${mode} PROPERTIES TIMEOUT 900 RESOURCE_LOCK release_packages)
endforeach()
kv_e2e_per_arch(settings_window)
kv_e2e_per_arch(launch)
kv_e2e_per_arch(shown_names)
kv_e2e(e2e.bad_settings.win64 bad_settings_e2e.sh win64)
kv_e2e(e2e.soak.win64 soak_e2e.sh win64)
kv_e2e(e2e.bad_start_menu.win32 bad_start_menu_e2e.sh win32)
kv_e2e(e2e.catalogue_changes.win64 catalogue_changes_e2e.sh win64)
kv_e2e_per_arch(dpi)
# Among the longest: started first on a fresh tree, which has no timings yet.
set_tests_properties(e2e.dpi.win32 e2e.dpi.win64 PROPERTIES COST 200)
# Win64 only: the 32-bit Wine here has no 32-bit RandR library and cannot change the display mode.
kv_e2e(e2e.desktop_life.win64 desktop_life_e2e.sh win64)
kv_e2e(e2e.monitors.win64 monitors_e2e.sh win64)
kv_e2e(e2e.demo.win64 demo_e2e.sh win64)
# Updates in place: each makes the release packages (and may take the help's screenshots first).
kv_e2e_per_arch(update)
set_tests_properties(e2e.update.win32 e2e.update.win64 PROPERTIES TIMEOUT 900 RESOURCE_LOCK release_packages)
# The tests holding the release packages' lock run one after another: started first on a fresh
# tree, they run beside the others instead of alone at the end.
set_tests_properties(e2e.release.win32 e2e.release.win64 e2e.release.wow64 e2e.update.win32 e2e.update.win64
                     PROPERTIES COST 150)
