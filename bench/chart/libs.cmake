set(VELMORA_BENCH_LIBS Plotkit Qt6::Gui)
