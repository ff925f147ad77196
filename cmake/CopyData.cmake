# Copies the bundled data files into the program's directory.
file(GLOB files "${SRC}/*.txt")
foreach(f IN LISTS files)
    get_filename_component(name "${f}" NAME)
    if((name STREQUAL "locations.txt" OR name STREQUAL "zonenames.txt") AND EXISTS "${DST}/${name}")
        continue()
    endif()
    file(COPY_FILE "${f}" "${DST}/${name}" ONLY_IF_DIFFERENT)
endforeach()
