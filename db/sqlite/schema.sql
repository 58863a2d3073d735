-- Tarvik store, SQLite.
-- Declared types are read back by the data layer to convert values:
-- TEXT (COLLATE NOCASE, replaced per connection by a Unicode case fold),
-- INTEGER, REAL (money), DATE (stored as 'yyyy-MM-dd' text).
-- Foreign keys need PRAGMA foreign_keys=ON on every connection.
-- Every text column checks the length its server column holds (characters,
-- or bytes for long texts), so both stores accept the same values.
-- Column order and count are part of the format: windows write box i into
-- column i.

CREATE TABLE ARTICULOS (
    codigo_art         TEXT COLLATE NOCASE NOT NULL PRIMARY KEY CHECK (length(codigo_art) <= 255),
    descripcion_art    TEXT COLLATE NOCASE CHECK (length(descripcion_art) <= 70),
    precio_compra      REAL,
    impuesto           INTEGER,
    precio_venta1      REAL,
    precio_venta2      REAL,
    precio_venta3      REAL,
    cantidad           INTEGER,
    stock_minimo       INTEGER,
    stock_maximo       INTEGER,
    observaciones_art  TEXT COLLATE NOCASE CHECK (length(CAST(observaciones_art AS BLOB)) <= 65535),
    fecha_ingreso_art  DATE,
    imagen_art         TEXT COLLATE NOCASE CHECK (length(imagen_art) <= 255),
    ubicacion          TEXT COLLATE NOCASE CHECK (length(ubicacion) <= 255),
    nombre_prov1       TEXT COLLATE NOCASE CHECK (length(nombre_prov1) <= 255),
    nombre_prov2       TEXT COLLATE NOCASE CHECK (length(nombre_prov2) <= 255),
    nombre_prov3       TEXT COLLATE NOCASE CHECK (length(nombre_prov3) <= 255),
    tipo_art           TEXT COLLATE NOCASE CHECK (length(tipo_art) <= 255)
);

CREATE TABLE CLIENTES (
    codigo_cli          TEXT COLLATE NOCASE NOT NULL PRIMARY KEY CHECK (length(codigo_cli) <= 255),
    nombre_cli          TEXT COLLATE NOCASE CHECK (length(nombre_cli) <= 255),
    identificacion_cli  TEXT COLLATE NOCASE CHECK (length(identificacion_cli) <= 255),
    direccion_cli       TEXT COLLATE NOCASE CHECK (length(direccion_cli) <= 255),
    telefono_cli        TEXT COLLATE NOCASE CHECK (length(telefono_cli) <= 255),
    fax_cli             TEXT COLLATE NOCASE CHECK (length(fax_cli) <= 255),
    notas_cli           TEXT COLLATE NOCASE CHECK (length(CAST(notas_cli AS BLOB)) <= 65535),
    fecha_ingreso_cli   DATE,
    imagen_cli          TEXT COLLATE NOCASE CHECK (length(imagen_cli) <= 255)
);

CREATE TABLE PROVEEDORES (
    codigo_prov          TEXT COLLATE NOCASE NOT NULL PRIMARY KEY CHECK (length(codigo_prov) <= 255),
    nombre_prov          TEXT COLLATE NOCASE CHECK (length(nombre_prov) <= 255),
    identificacion_prov  TEXT COLLATE NOCASE CHECK (length(identificacion_prov) <= 255),
    direccion_prov       TEXT COLLATE NOCASE CHECK (length(direccion_prov) <= 255),
    telefono_prov        TEXT COLLATE NOCASE CHECK (length(telefono_prov) <= 255),
    fax_prov             TEXT COLLATE NOCASE CHECK (length(fax_prov) <= 255),
    notas_prov           TEXT COLLATE NOCASE CHECK (length(CAST(notas_prov AS BLOB)) <= 65535),
    fecha_ingreso_prov   DATE,
    imagen_prov          TEXT COLLATE NOCASE CHECK (length(imagen_prov) <= 255)
);

CREATE TABLE empresas (
    codigo_emp          INTEGER NOT NULL PRIMARY KEY,
    nombre_emp          TEXT COLLATE NOCASE UNIQUE CHECK (length(nombre_emp) <= 255),
    identificacion_emp  TEXT COLLATE NOCASE CHECK (length(identificacion_emp) <= 255),
    direccion_emp       TEXT COLLATE NOCASE CHECK (length(direccion_emp) <= 255),
    regimen_emp         TEXT COLLATE NOCASE CHECK (length(regimen_emp) <= 255),
    PieFactura1         TEXT COLLATE NOCASE CHECK (length(PieFactura1) <= 255),
    PieFactura2         TEXT COLLATE NOCASE CHECK (length(PieFactura2) <= 255),
    PieFactura3         TEXT COLLATE NOCASE CHECK (length(PieFactura3) <= 255),
    PieFactura4         TEXT COLLATE NOCASE CHECK (length(PieFactura4) <= 255),
    PieFactura5         TEXT COLLATE NOCASE CHECK (length(PieFactura5) <= 255),
    PieFactura6         TEXT COLLATE NOCASE CHECK (length(PieFactura6) <= 255),
    costeo_inventario   TEXT COLLATE NOCASE CHECK (length(costeo_inventario) <= 255),
    consecutivo_compra  INTEGER,
    consecutivo_venta   INTEGER,
    prefijo_ncf         TEXT COLLATE NOCASE CHECK (length(prefijo_ncf) <= 11),
    desde_ncf           INTEGER,
    hasta_ncf           INTEGER,
    consecutivo_ncf     INTEGER
);

CREATE TABLE usuarios (
    codigo_emp    INTEGER NOT NULL REFERENCES empresas (codigo_emp) ON DELETE CASCADE,
    codigo_usu    TEXT COLLATE NOCASE NOT NULL CHECK (length(codigo_usu) <= 255),
    nombre_usu    TEXT COLLATE NOCASE UNIQUE CHECK (length(nombre_usu) <= 255),
    password_usu  TEXT COLLATE NOCASE CHECK (length(password_usu) <= 255),
    nivel_usu     TEXT COLLATE NOCASE CHECK (length(nivel_usu) <= 255),
    PRIMARY KEY (codigo_emp, codigo_usu)
);

CREATE TABLE Ventas (
    codigo_fac         INTEGER NOT NULL,
    codigo_cli         TEXT COLLATE NOCASE REFERENCES CLIENTES (codigo_cli) ON DELETE CASCADE CHECK (length(codigo_cli) <= 255),
    fecha              DATE,
    forma_pago         TEXT COLLATE NOCASE CHECK (length(forma_pago) <= 255),
    valor_neto         REAL,
    impuesto_total     REAL,
    descuento          REAL,
    abono              REAL,
    saldo              REAL,
    total              REAL,
    notas              TEXT COLLATE NOCASE CHECK (length(CAST(notas AS BLOB)) <= 65535),
    Estado             TEXT COLLATE NOCASE CHECK (length(Estado) <= 255),
    fecha_vencimiento  DATE,
    codigo_emp         INTEGER NOT NULL REFERENCES empresas (codigo_emp) ON DELETE CASCADE,
    codigo_usu         TEXT COLLATE NOCASE CHECK (length(codigo_usu) <= 255),
    ncf                TEXT COLLATE NOCASE CHECK (length(ncf) <= 255),
    PRIMARY KEY (codigo_fac, codigo_emp),
    FOREIGN KEY (codigo_emp, codigo_usu) REFERENCES usuarios (codigo_emp, codigo_usu) ON DELETE CASCADE
);
CREATE INDEX Ventas_codigo_cli ON Ventas (codigo_cli);
CREATE INDEX Ventas_usuario ON Ventas (codigo_emp, codigo_usu);
-- The NCF check before every sale and the period statements.
CREATE INDEX Ventas_ncf ON Ventas (codigo_emp, ncf);
CREATE INDEX Ventas_fecha ON Ventas (codigo_emp, fecha);

CREATE TABLE Compras (
    codigo_fac         INTEGER NOT NULL,
    codigo_prov        TEXT COLLATE NOCASE REFERENCES PROVEEDORES (codigo_prov) ON DELETE CASCADE CHECK (length(codigo_prov) <= 255),
    fecha              DATE,
    forma_pago         TEXT COLLATE NOCASE CHECK (length(forma_pago) <= 255),
    valor_neto         REAL,
    impuesto_total     REAL,
    descuento          REAL,
    abono              REAL,
    saldo              REAL,
    total              REAL,
    notas              TEXT COLLATE NOCASE CHECK (length(CAST(notas AS BLOB)) <= 65535),
    Estado             TEXT COLLATE NOCASE CHECK (length(Estado) <= 255),
    fecha_vencimiento  DATE,
    codigo_emp         INTEGER NOT NULL REFERENCES empresas (codigo_emp) ON DELETE CASCADE,
    codigo_usu         TEXT COLLATE NOCASE CHECK (length(codigo_usu) <= 255),
    ncf                TEXT COLLATE NOCASE CHECK (length(ncf) <= 255),
    PRIMARY KEY (codigo_fac, codigo_emp),
    FOREIGN KEY (codigo_emp, codigo_usu) REFERENCES usuarios (codigo_emp, codigo_usu) ON DELETE CASCADE
);
CREATE INDEX Compras_codigo_prov ON Compras (codigo_prov);
CREATE INDEX Compras_usuario ON Compras (codigo_emp, codigo_usu);
CREATE INDEX Compras_fecha ON Compras (codigo_emp, fecha);
-- The receivables and payables windows: the parties with unpaid invoices,
-- and a party's unpaid invoices newest first.
CREATE INDEX Ventas_pendientes ON Ventas (codigo_emp, Estado, codigo_cli, fecha);
CREATE INDEX Compras_pendientes ON Compras (codigo_emp, Estado, codigo_prov, fecha);

-- The invoice lines declare no key: the rowid is theirs (the server store
-- declares one of the same name, invisible).
CREATE TABLE Detalles_FacVen (
    codigo_fac         INTEGER,
    codigo_emp         INTEGER,
    codigo_art         TEXT COLLATE NOCASE CHECK (length(codigo_art) <= 255),
    descripcion_art    TEXT COLLATE NOCASE CHECK (length(descripcion_art) <= 255),
    cantidad           INTEGER,
    valor_unitario     REAL,
    impuesto           INTEGER,
    SubTotal           REAL,
    precio_compra_det  REAL,
    FOREIGN KEY (codigo_fac, codigo_emp) REFERENCES Ventas (codigo_fac, codigo_emp) ON DELETE CASCADE
);
CREATE INDEX Detalles_FacVen_factura ON Detalles_FacVen (codigo_fac, codigo_emp);
CREATE INDEX Detalles_FacVen_codigo_art ON Detalles_FacVen (codigo_art);

CREATE TABLE Detalles_FacCom (
    codigo_fac         INTEGER,
    codigo_emp         INTEGER,
    codigo_art         TEXT COLLATE NOCASE CHECK (length(codigo_art) <= 255),
    descripcion_art    TEXT COLLATE NOCASE CHECK (length(descripcion_art) <= 255),
    cantidad           INTEGER,
    valor_unitario     REAL,
    impuesto           INTEGER,
    SubTotal           REAL,
    precio_compra_det  REAL,
    FOREIGN KEY (codigo_fac, codigo_emp) REFERENCES Compras (codigo_fac, codigo_emp) ON DELETE CASCADE
);
CREATE INDEX Detalles_FacCom_factura ON Detalles_FacCom (codigo_fac, codigo_emp);
CREATE INDEX Detalles_FacCom_codigo_art ON Detalles_FacCom (codigo_art);

CREATE TABLE Fact_xCobrar (
    codigo_fac   INTEGER NOT NULL,
    num_abono    INTEGER NOT NULL,
    valor_abono  REAL,
    fecha_abono  DATE,
    codigo_emp   INTEGER NOT NULL,
    PRIMARY KEY (codigo_fac, codigo_emp, num_abono),
    FOREIGN KEY (codigo_fac, codigo_emp) REFERENCES Ventas (codigo_fac, codigo_emp) ON DELETE CASCADE
);

CREATE TABLE Fact_xPagar (
    codigo_fac   INTEGER NOT NULL,
    num_abono    INTEGER NOT NULL,
    valor_abono  REAL,
    fecha_abono  DATE,
    codigo_emp   INTEGER NOT NULL,
    PRIMARY KEY (codigo_fac, codigo_emp, num_abono),
    FOREIGN KEY (codigo_fac, codigo_emp) REFERENCES Compras (codigo_fac, codigo_emp) ON DELETE CASCADE
);

CREATE TABLE Kardex (
    codigo_art          TEXT COLLATE NOCASE REFERENCES ARTICULOS (codigo_art) ON DELETE CASCADE CHECK (length(codigo_art) <= 255),
    fecha               DATE,
    concepto            TEXT COLLATE NOCASE CHECK (length(concepto) <= 255),
    unidades_entrantes  TEXT COLLATE NOCASE CHECK (length(unidades_entrantes) <= 255),
    unidades_salientes  TEXT COLLATE NOCASE CHECK (length(unidades_salientes) <= 255),
    saldo               INTEGER,
    precio_compra       REAL
);
-- The stock card lists an article's rows by date.
CREATE INDEX Kardex_articulo_fecha ON Kardex (codigo_art, fecha);

-- AUTOINCREMENT: a deleted range's ID is never handed out again.
CREATE TABLE ncfs (
    ID           INTEGER PRIMARY KEY AUTOINCREMENT,
    descripcion  TEXT COLLATE NOCASE NOT NULL CHECK (length(descripcion) <= 255),
    prefijo      TEXT COLLATE NOCASE CHECK (length(prefijo) <= 255),
    desde        INTEGER,
    hasta        INTEGER,
    consecutivo  INTEGER,
    id_sucursal  TEXT COLLATE NOCASE CHECK (length(id_sucursal) <= 255)
);
CREATE INDEX ncfs_sucursal ON ncfs (id_sucursal);
