# libavcodec, libavutil and libavformat, cross-built for this architecture
# by scripts/build-libavcodec.
set(ZARV_LIBAVCODEC_PREFIX ${CMAKE_SOURCE_DIR}/.cache/libavcodec/win${ZARV_ARCH}/install
    CACHE PATH "Install prefix of the cross-built libavcodec")
if(NOT EXISTS ${ZARV_LIBAVCODEC_PREFIX}/lib/libavcodec.dll.a)
  message(FATAL_ERROR "libavcodec not found in ${ZARV_LIBAVCODEC_PREFIX}: run scripts/setup")
endif()
foreach(lib avutil avcodec avformat)
  file(GLOB dll ${ZARV_LIBAVCODEC_PREFIX}/bin/${lib}-*.dll)
  add_library(ffmpeg::${lib} SHARED IMPORTED)
  set_target_properties(ffmpeg::${lib} PROPERTIES
    IMPORTED_IMPLIB ${ZARV_LIBAVCODEC_PREFIX}/lib/lib${lib}.dll.a
    IMPORTED_LOCATION ${dll}
    INTERFACE_INCLUDE_DIRECTORIES ${ZARV_LIBAVCODEC_PREFIX}/include)
  # The DLLs sit beside our programs so that Wine finds them.
  file(COPY ${dll} DESTINATION ${CMAKE_BINARY_DIR}/bin)
endforeach()
set_property(TARGET ffmpeg::avcodec APPEND PROPERTY INTERFACE_LINK_LIBRARIES ffmpeg::avutil)
set_property(TARGET ffmpeg::avformat APPEND PROPERTY INTERFACE_LINK_LIBRARIES ffmpeg::avcodec)
