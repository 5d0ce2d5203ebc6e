package visualizador.conexao;

/** One host of the service's list, with the password to send it (null: none found). */
public record Destino(String host, String porta, String senha) {

    /** host:port, an IPv6 address in brackets as URLs write it. */
    public String endereco() {
        return (host.contains(":") ? "[" + host + "]" : host) + ":" + porta;
    }

    /** Never the password: a destination ends up in messages. */
    @Override
    public String toString() {
        return endereco();
    }
}
