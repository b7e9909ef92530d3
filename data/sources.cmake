target_sources(morvask_engine PRIVATE
  data/CDaoFieldExchange.cpp
  data/CDaoRecordset.cpp
  data/CMorvaskSet.cpp
  data/CmorvaskSet2.cpp
)
