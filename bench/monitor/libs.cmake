set(VELMORA_BENCH_LIBS MonitorCore DriveSim)
