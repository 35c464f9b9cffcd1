# Fails when an include runs against the layering of the source folders.
#   cmake -DROOT=<source dir> [-DWIDGET_HEADER_DIRS=<dir;dir>] -P check_layering.cmake
#
# The folders form one order, lowest first. A file may include headers of
# its own folder and of folders lower in the order, never of a higher one,
# so no two folders depend on each other:
#
#   core (C++ standard library only; hpa_core, and hpa_history for history):
#     platform grid accounting document transfer view history
#   rendering (QtGui, no widgets, hpa_render):
#     platform/qt grid/render view/render
#   desktop (Widgets, hpa_qt):
#     ui grid/qt document/qt transfer/qt view/qt history/qt app
#
# The tools sit on top of what they link: hpactl on the core and the
# rendering folders, the simulator on the core alone. Files of the rendering
# folders include no header of QtWidgets or QtPrintSupport (the headers
# found in WIDGET_HEADER_DIRS).
set(layers
  platform grid accounting document transfer view history
  platform/qt grid/render view/render
  ui grid/qt document/qt transfer/qt view/qt history/qt app)
set(core_top view)
set(render_first platform/qt)
set(render_top view/render)

# tools folder -> the highest folder it may include
set(tool_dirs tools/hpactl tools/printer-sim tools/grid-demo)
set(tool_top_tools/hpactl ${render_top})
set(tool_top_tools/printer-sim ${core_top})
set(tool_top_tools/grid-demo grid/qt)

set(widget_headers "")
foreach(dir ${WIDGET_HEADER_DIRS})
  file(GLOB names RELATIVE ${dir} ${dir}/Q*)
  list(APPEND widget_headers ${names})
endforeach()
list(FIND layers ${render_first} render_lo)
list(FIND layers ${render_top} render_hi)

set(bad "")
foreach(dir ${layers} ${tool_dirs})
  list(FIND layers ${dir} rank)
  if(rank LESS 0)
    list(FIND layers ${tool_top_${dir}} rank)
  endif()
  file(GLOB files ${ROOT}/${dir}/*.h ${ROOT}/${dir}/*.cpp)
  foreach(f ${files})
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line ${lines})
      if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)/[^/\"]+\"")
        set(target ${CMAKE_MATCH_1})
        if(target STREQUAL dir)
          continue()
        endif()
        list(FIND layers ${target} target_rank)
        if(target_rank LESS 0)
          continue() # generated headers, test support, third-party
        endif()
        if(target_rank GREATER rank)
          file(RELATIVE_PATH rel ${ROOT} ${f})
          list(APPEND bad "${rel}: ${line} (${dir} is below ${target})")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<([^>/]+/)?([^>/]+)>" AND rank GREATER_EQUAL render_lo
             AND rank LESS_EQUAL render_hi)
        list(FIND widget_headers ${CMAKE_MATCH_2} widget)
        if(widget GREATER_EQUAL 0 OR CMAKE_MATCH_1 MATCHES "^Qt(Widgets|PrintSupport)/$")
          file(RELATIVE_PATH rel ${ROOT} ${f})
          list(APPEND bad "${rel}: ${line} (the rendering folders use no widgets)")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()
if(bad)
  list(JOIN bad "\n" text)
  message(FATAL_ERROR "Includes against the folder layering:\n${text}")
endif()
message(STATUS "folders are layered")
