set(VELMORA_BENCH_LIBS KnobsetCore DriveSim)
