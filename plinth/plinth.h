#pragma once

// Everything the library offers, in one include.
// Threads: one object is used by one thread at a time; distinct objects are independent.

// Platform layer
#include "plinth/platform/archive.h"
#include "plinth/platform/array.h"
#include "plinth/platform/bstr.h"
#include "plinth/platform/charset.h"
#include "plinth/platform/com_exception.h"
#include "plinth/platform/cstring.h"
#include "plinth/platform/ctime.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/export.h"
#include "plinth/platform/file.h"
#include "plinth/platform/font.h"
#include "plinth/platform/guid.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/iterators.h"
#include "plinth/platform/lasterror.h"
#include "plinth/platform/list.h"
#include "plinth/platform/maps.h"
#include "plinth/platform/memfile.h"
#include "plinth/platform/memory.h"
#include "plinth/platform/module.h"
#include "plinth/platform/object.h"
#include "plinth/platform/oletypes.h"
#include "plinth/platform/ptr_array.h"
#include "plinth/platform/ptr_list.h"
#include "plinth/platform/resource.h"
#include "plinth/platform/safearray.h"
#include "plinth/platform/tempfile.h"
#include "plinth/platform/throw.h"
#include "plinth/platform/typed_ptr.h"
#include "plinth/platform/types.h"
#include "plinth/platform/unknown.h"
#include "plinth/platform/variant.h"
#include "plinth/platform/xmldom.h"

// Library frame
#include "plinth/frame/adapter_interfaces.h"
#include "plinth/frame/array2_oi.h"
#include "plinth/frame/dyna_module.h"
#include "plinth/frame/errormessage.h"
#include "plinth/frame/interface_ids.h"
#include "plinth/frame/library.h"
#include "plinth/frame/list_oi.h"
#include "plinth/frame/nested_interface.h"
#include "plinth/frame/notify_server.h"
#include "plinth/frame/object_ex.h"
#include "plinth/frame/object_ref.h"
#include "plinth/frame/range_oi.h"
#include "plinth/frame/ref_mgr.h"
#include "plinth/frame/ref_obj.h"
#include "plinth/frame/requests.h"
#include "plinth/frame/state.h"
#include "plinth/frame/vel_object.h"

// Numeric foundation
#include "plinth/numeric/constants.h"
#include "plinth/numeric/double_vel.h"
#include "plinth/numeric/nik.h"
#include "plinth/numeric/rounding.h"
#include "plinth/numeric/solver.h"
#include "plinth/numeric/sorted_array.h"
#include "plinth/numeric/tolerance.h"
#include "plinth/numeric/vector3.h"

// Intervals on the real line
#include "plinth/range/range.h"
#include "plinth/range/range_ex.h"
#include "plinth/range/range_int.h"
#include "plinth/range/range_multi.h"
#include "plinth/range/range_pos.h"
#include "plinth/range/range_r1.h"
#include "plinth/range/set_r1.h"
#include "plinth/range/set_r1_spaced.h"

// Angles and arcs on the circle
#include "plinth/circle/range_s1.h"
#include "plinth/circle/rt_ptr_list_base2.h"
#include "plinth/circle/s1.h"
#include "plinth/circle/set_s1.h"

// Cyclic index groups
#include "plinth/cyclic/cycl_segment.h"
#include "plinth/cyclic/list_cyclic.h"
#include "plinth/cyclic/range_zgroup.h"
#include "plinth/cyclic/zgroup.h"

// Grids and interpolation
#include "plinth/grid/grid1d.h"
#include "plinth/grid/interpolator.h"

// Containers and text
#include "plinth/containers/bi_posn.h"
#include "plinth/containers/bit_array.h"
#include "plinth/containers/cyclic_walk.h"
#include "plinth/containers/dictionary.h"
#include "plinth/containers/hex.h"
#include "plinth/containers/index_multi_byte.h"
#include "plinth/containers/list_interfaces.h"
#include "plinth/containers/npair.h"
#include "plinth/containers/ptr_map.h"
#include "plinth/containers/rt_string.h"
#include "plinth/containers/void_ptr_list.h"

// Persistence
#include "plinth/persist/blob_cached.h"
#include "plinth/persist/blob_interfaces.h"
#include "plinth/persist/blob_oi.h"
#include "plinth/persist/blob_set.h"
#include "plinth/persist/buffer_base.h"
#include "plinth/persist/data_context.h"
#include "plinth/persist/persist_context.h"
#include "plinth/persist/rt_blob.h"
#include "plinth/persist/xml_archive.h"

// Fonts
#include "plinth/fonts/font_description.h"
#include "plinth/fonts/font_vel.h"
#include "plinth/fonts/font_vel_cache.h"

// Resources
#include "plinth/resources/resource_manager.h"
