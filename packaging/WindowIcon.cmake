# The programs' icon is drawn once, as SVG; the PNG sizes are rendered from it
# at build time with rsvg-convert (package librsvg2-bin).
find_program(KELVU_RSVG_CONVERT rsvg-convert REQUIRED)
set(KELVU_ICON_SVG ${CMAKE_CURRENT_LIST_DIR}/kelvu.svg)

# kelvu_render_icon(SIZE OUTPUT): a build rule rendering the icon at SIZE x SIZE.
function(kelvu_render_icon size output)
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${KELVU_RSVG_CONVERT} -w ${size} -h ${size} -o ${output} ${KELVU_ICON_SVG}
    DEPENDS ${KELVU_ICON_SVG}
    COMMENT "Rendering the icon at ${size} x ${size}"
    VERBATIM)
endfunction()

# kelvu_add_window_icon(TARGET): builds the icon into the program as the Qt
# resource ":/kelvu/kelvu.png", which main() sets as the windows' icon.
function(kelvu_add_window_icon target)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/window-icon/kelvu.png)
  kelvu_render_icon(128 ${png})
  qt_add_resources(${target} ${target}_icon PREFIX /kelvu
    BASE ${CMAKE_CURRENT_BINARY_DIR}/window-icon FILES ${png})
endfunction()
