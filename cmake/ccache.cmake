# Compiles through ccache where it is installed. The cache is keyed on paths
# relative to the tree's root, so a second checkout of the same sources (a
# clean clone, another work tree) reuses what the first one compiled.
find_program(RAVELBOOK_CCACHE ccache)
if(RAVELBOOK_CCACHE)
  foreach(lang C CXX)
    set(CMAKE_${lang}_COMPILER_LAUNCHER
        ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${RAVELBOOK_ROOT} CCACHE_NOHASHDIR=1 ${RAVELBOOK_CCACHE})
  endforeach()
endif()
