-- inventory.lua: a small inventory with metatables.
--[[
  Usage:
    local Inventory = require("inventory")
    local inv = Inventory.new()
]]

local Inventory = {}
Inventory.__index = Inventory

local MAX_SLOTS <const> = 0x20

function Inventory.new(owner)
  local self = setmetatable({}, Inventory)
  self.owner = owner or "nobody"
  self.items = {}
  self.count = 0
  return self
end

function Inventory:add(name, qty)
  qty = qty or 1
  if type(name) ~= "string" then
    error("item name must be a string, got " .. type(name), 2)
  end
  if self.count >= MAX_SLOTS and not self.items[name] then
    return false, 'inventory full'
  end
  if not self.items[name] then self.count = self.count + 1 end
  self.items[name] = (self.items[name] or 0) + qty
  return true
end

function Inventory:__tostring()
  local parts = {}
  for name, qty in pairs(self.items) do
    parts[#parts + 1] = string.format("%s x%d", name, qty)
  end
  table.sort(parts)
  return self.owner .. ": " .. table.concat(parts, ", ")
end

local inv = Inventory.new("Kim")
inv:add("arrow", 20)
inv:add("potion", 2.5e0)
local ok, err = pcall(inv.add, inv, 42)
print(tostring(inv), ok, err)
print(math.floor(3.7), #inv.items, nil == false)
return Inventory
