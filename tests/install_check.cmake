# Installs the game into a scratch prefix and checks that a desktop finds all of it.
set(prefix ${BUILD}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()
foreach(expected
        games/trebalune
        share/applications/org.trebalune.Trebalune.desktop
        share/icons/hicolor/16x16/apps/trebalune.png
        share/icons/hicolor/32x32/apps/trebalune.png
        share/icons/hicolor/48x48/apps/trebalune.png
        share/icons/hicolor/256x256/apps/trebalune.png)
    if(NOT EXISTS ${prefix}/${expected})
        message(FATAL_ERROR "not installed: ${expected}")
    endif()
endforeach()
file(REMOVE_RECURSE ${prefix})
