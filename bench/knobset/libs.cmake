set(VELMORA_BENCH_LIBS KnobsetCore DriveSim)
if(TARGET KnobsetWindow)
    list(APPEND VELMORA_BENCH_LIBS KnobsetWindow VelmoraCore)
endif()
