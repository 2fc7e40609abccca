//! A tiny key-value store that keeps the most recently used entries.
use std::collections::HashMap;
use std::fmt;

/// Errors returned by [`Cache::insert`].
#[derive(Debug, Clone, PartialEq, Eq)]
pub enum CacheError {
    KeyTooLong(usize),
    Full,
}

impl fmt::Display for CacheError {
    fn fmt(&self, f: &mut fmt::Formatter<'_>) -> fmt::Result {
        match self {
            CacheError::KeyTooLong(n) => write!(f, "key of {n} bytes is too long"),
            CacheError::Full => f.write_str("cache is full"),
        }
    }
}

pub struct Cache<'a, V> {
    entries: HashMap<&'a str, (V, u64)>,
    capacity: usize,
    clock: u64,
}

impl<'a, V: Clone> Cache<'a, V> {
    pub const MAX_KEY: usize = 0xFF;

    pub fn new(capacity: usize) -> Self {
        Self { entries: HashMap::with_capacity(capacity), capacity, clock: 0 }
    }

    pub fn insert(&mut self, key: &'a str, value: V) -> Result<(), CacheError> {
        if key.len() > Self::MAX_KEY {
            return Err(CacheError::KeyTooLong(key.len()));
        }
        if self.entries.len() >= self.capacity && !self.entries.contains_key(key) {
            let oldest = self.entries.iter().min_by_key(|(_, (_, t))| *t).map(|(k, _)| *k);
            if let Some(k) = oldest {
                self.entries.remove(k);
            }
        }
        self.clock += 1;
        self.entries.insert(key, (value, self.clock));
        Ok(())
    }

    pub fn get(&mut self, key: &str) -> Option<V> {
        self.clock += 1;
        let now = self.clock;
        self.entries.get_mut(key).map(|(v, t)| { *t = now; v.clone() })
    }
}

fn main() {
    let mut cache: Cache<'static, f64> = Cache::new(2);
    cache.insert("pi", 3.14159).unwrap();
    println!("pi = {:?}, sep = {:?}", cache.get("pi"), 'x');
}
