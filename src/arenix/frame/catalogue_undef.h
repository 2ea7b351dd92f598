// Ends one use of catalogue.def (no include guard: included after each use).
#undef ARENIX_METHOD
#undef ARG
#undef OPT
#undef REF
#undef REFT
#undef OPTREF
#undef OPTREFT
