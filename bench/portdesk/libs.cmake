set(VELMORA_BENCH_LIBS PortdeskCore VelmoraCore DriveSim)
