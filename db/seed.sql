-- Rows that must exist before the first sign-in. Valid on SQLite and MariaDB.

INSERT INTO empresas (codigo_emp, nombre_emp, identificacion_emp, direccion_emp, regimen_emp,
                      PieFactura1, PieFactura2, PieFactura3, PieFactura4, PieFactura5, PieFactura6,
                      costeo_inventario, consecutivo_compra, consecutivo_venta,
                      prefijo_ncf, desde_ncf, hasta_ncf, consecutivo_ncf)
VALUES (1, 'EMPRESA PRINCIPAL', '', '', '',
        '', '', '', '', '', '',
        'PromedioPonderado', 0, 0,
        '', 0, 0, 0);

INSERT INTO usuarios (codigo_emp, codigo_usu, nombre_usu, password_usu, nivel_usu)
VALUES (1, '1', 'ADMINISTRADOR', '1234', 'Administrador');

INSERT INTO CLIENTES (codigo_cli, nombre_cli, identificacion_cli, direccion_cli, telefono_cli,
                      fax_cli, notas_cli, fecha_ingreso_cli, imagen_cli)
VALUES ('0', 'CLIENTE GENERICO', '', '', '', '', '', NULL, '');

INSERT INTO PROVEEDORES (codigo_prov, nombre_prov, identificacion_prov, direccion_prov, telefono_prov,
                         fax_prov, notas_prov, fecha_ingreso_prov, imagen_prov)
VALUES ('0', 'PROVEEDOR GENERICO', '', '', '', '', '', NULL, '');
