-- Prints the first four controls of a plug-in processor as "NAME = VALUE",
-- in the parameters' own units.
return function(processor)
  local plugin = processor:to_insert():plugin(0)
  for i = 0, 3 do
    print(plugin:parameter_label(i) .. " = " .. ARDOUR.LuaAPI.get_processor_param(processor, i, true))
  end
end
