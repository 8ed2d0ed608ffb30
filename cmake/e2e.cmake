# End-to-end tests: shell scripts under tests/e2e that drive the Windows builds under Wine on a
# private Xvfb display. Scripts taking an architecture run once per architecture.
set(KV_E2E_DIR ${CMAKE_SOURCE_DIR}/tests/e2e)

function(kv_e2e name script)
  add_test(NAME ${name} COMMAND bash ${KV_E2E_DIR}/${script} ${ARGN})
  set_tests_properties(${name} PROPERTIES LABELS e2e TIMEOUT 300 RUN_SERIAL TRUE)
endfunction()

kv_e2e(e2e.artifacts artifacts_e2e.sh)
foreach(arch win32 win64)
  kv_e2e(e2e.ui_runtime.${arch} ui_runtime_e2e.sh ${arch})
endforeach()
foreach(arch win32 win64)
  kv_e2e(e2e.program.${arch} program_e2e.sh ${arch})
endforeach()
foreach(arch win32 win64)
  kv_e2e(e2e.services.${arch} services_e2e.sh ${arch})
endforeach()
kv_e2e(e2e.services.wow64 services_e2e.sh wow64)
kv_e2e(e2e.refusal.wow64 refusal_e2e.sh)
foreach(arch win32 win64)
  kv_e2e(e2e.fatal_error.${arch} fatal_error_e2e.sh ${arch})
endforeach()
