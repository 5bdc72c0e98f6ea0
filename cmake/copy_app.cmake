# cmake -DSRC=app -DDST=build/Korvex5 -P copy_app.cmake
# Copies the application-folder skeleton, keeping any file in DST that is newer than its
# source (the user edited it), and makes the empty folders the programs expect.
file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*")
foreach(rel IN LISTS files)
  set(from "${SRC}/${rel}")
  set(to "${DST}/${rel}")
  if(NOT EXISTS "${to}" OR "${from}" IS_NEWER_THAN "${to}")
    get_filename_component(dir "${to}" DIRECTORY)
    file(MAKE_DIRECTORY "${dir}")
    file(COPY "${from}" DESTINATION "${dir}" USE_SOURCE_PERMISSIONS)
  endif()
endforeach()
foreach(dir Projects Temp Exported Examples Extra)
  file(MAKE_DIRECTORY "${DST}/${dir}")
endforeach()
